// The JVM as oracle for the member index: the declared public methods of every
// public class (a member class only when every enclosing class is public too)
// of the packages that system modules export without a "to" clause, one a line:
//   binary name <TAB> method name <TAB> parameter type names, joined by ","
//   <TAB> 1 for a bridge or synthetic method, else 0
// or "#ERROR name exception" when the JVM cannot list them.
import java.lang.module.ModuleDescriptor;
import java.lang.module.ModuleFinder;
import java.lang.module.ModuleReader;
import java.lang.module.ModuleReference;
import java.lang.reflect.Method;
import java.lang.reflect.Modifier;
import java.util.HashSet;
import java.util.Set;

public class MemberIndexOracle {
    public static void main(String[] args) throws Exception {
        StringBuilder out = new StringBuilder();
        ClassLoader loader = ClassLoader.getSystemClassLoader();
        for (ModuleReference ref : ModuleFinder.ofSystem().findAll()) {
            Set<String> exported = new HashSet<>();
            for (ModuleDescriptor.Exports e : ref.descriptor().exports())
                if (!e.isQualified())
                    exported.add(e.source());
            if (exported.isEmpty())
                continue;
            try (ModuleReader reader = ref.open()) {
                for (String res : (Iterable<String>) reader.list()::iterator) {
                    if (!res.endsWith(".class") || res.endsWith("module-info.class"))
                        continue;
                    String name = res.substring(0, res.length() - 6).replace('/', '.');
                    int dot = name.lastIndexOf('.');
                    if (dot < 0 || !exported.contains(name.substring(0, dot)))
                        continue;
                    try {
                        Class<?> c = Class.forName(name, false, loader);
                        if (c.isAnonymousClass() || c.isLocalClass())
                            continue;
                        boolean visible = true;
                        for (Class<?> k = c; k != null && visible; k = k.getDeclaringClass())
                            visible = Modifier.isPublic(k.getModifiers());
                        if (visible)
                            list(c, out);
                    } catch (Throwable t) {
                        out.append("#ERROR ").append(name).append(' ').append(t).append('\n');
                    }
                }
            }
        }
        System.out.print(out);
    }

    static void list(Class<?> c, StringBuilder out) {
        for (Method m : c.getDeclaredMethods()) {
            if (!Modifier.isPublic(m.getModifiers()))
                continue;
            out.append(c.getName()).append('\t').append(m.getName()).append('\t');
            Class<?>[] types = m.getParameterTypes();
            for (int i = 0; i < types.length; ++i)
                out.append(i == 0 ? "" : ",").append(types[i].getTypeName());
            out.append('\t').append(m.isBridge() || m.isSynthetic() ? '1' : '0').append('\n');
        }
    }
}
