// The JVM as oracle for the member index: for each class named in the file
// args[0] (ClassIndexOracle's lines: binary name <TAB> ...), its declared public
// methods, one a line:
//   binary name <TAB> method name <TAB> parameter type names, joined by ","
//   <TAB> 1 for a bridge or synthetic method, else 0
// or "#ERROR name exception" when the JVM cannot list them.
import java.lang.reflect.Method;
import java.lang.reflect.Modifier;
import java.nio.file.Files;
import java.nio.file.Path;

public class MemberIndexOracle {
    public static void main(String[] args) throws Exception {
        StringBuilder out = new StringBuilder();
        ClassLoader loader = ClassLoader.getSystemClassLoader();
        for (String line : Files.readAllLines(Path.of(args[0]))) {
            if (line.startsWith("#"))
                continue;  // a class the JVM cannot load: the class index's oracle says so
            String name = line.split("\t")[0];
            try {
                for (Method m : Class.forName(name, false, loader).getDeclaredMethods()) {
                    if (!Modifier.isPublic(m.getModifiers()))
                        continue;
                    out.append(name).append('\t').append(m.getName()).append('\t');
                    Class<?>[] types = m.getParameterTypes();
                    for (int i = 0; i < types.length; ++i)
                        out.append(i == 0 ? "" : ",").append(types[i].getTypeName());
                    out.append('\t').append(m.isBridge() || m.isSynthetic() ? '1' : '0').append('\n');
                }
            } catch (Throwable t) {
                out.append("#ERROR ").append(name).append(' ').append(t).append('\n');
            }
        }
        System.out.print(out);
    }
}
