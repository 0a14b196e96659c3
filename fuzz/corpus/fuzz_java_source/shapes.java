package p;
import java.util.Map.Entry;
/** A {@code record} with {@link java.util.List#add(Object) add}. @param x the x */
public record R<T extends Comparable<? super T>>(@Deprecated T x, int... ys) implements I {
    /** Compact. */ public R { }
    /** {@inheritDoc} @return {@value #K} */ public static final int K = 0x7fff_ffff;
    enum E { A("a\"}"), B { void f() { } }; E() { } E(String s) { } /** v */ public static void v() { } }
    @interface An { String value() default "x"; }
    interface I2 { /** d */ default <U> U[] f(U[] a, java.util.function.IntFunction<U[]> g) throws Exception, Error { return a; } }
    String t = """
        text " block \""" /** not a doc */
        """;
    char c = '\u0027'; char d = '\\'; // \u000a comment
    /* unterminated
