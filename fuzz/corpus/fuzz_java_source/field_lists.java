package p;
/** Field lists as a class may declare them. */
public class F {
    int a, b, c;
    public static final int A = 1, B = -2, C = 0x10, D = 'd';
    static final long L = 1L, M[] = {1, 2}, N = L + 1;
    /** Strings. */ public static final String S = "s", T = "t,;}", U = """
        text block, with a comma;
        """;
    int[] x = {1, 2}, y[] = {{3}}, z;
    java.util.Map<String, java.util.List<int[]>> m = new java.util.HashMap<>(), n;
    Runnable r = () -> { int q = 1, w; }, s = new Runnable() { public void run() { } };
    int e = f(1, 2), g = (3), h = -4, i = +5;
    /** After the fields. */ public void m() { }
}
