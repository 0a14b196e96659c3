// The JVM as oracle for the class index: every public class (a member class
// only when every enclosing class is public too) of the packages that system
// modules export without a "to" clause, one a line:
//   binary name <TAB> module <TAB> 1 when @Deprecated, else 0
// or "#ERROR name exception" when the JVM cannot load it.
import java.lang.module.ModuleDescriptor;
import java.lang.module.ModuleFinder;
import java.lang.module.ModuleReader;
import java.lang.module.ModuleReference;
import java.lang.reflect.Modifier;
import java.util.HashSet;
import java.util.Set;

public class ClassIndexOracle {
    public static void main(String[] args) throws Exception {
        StringBuilder out = new StringBuilder();
        ClassLoader loader = ClassLoader.getSystemClassLoader();
        for (ModuleReference ref : ModuleFinder.ofSystem().findAll()) {
            ModuleDescriptor d = ref.descriptor();
            Set<String> exported = new HashSet<>();
            for (ModuleDescriptor.Exports e : d.exports())
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
                    Class<?> c;
                    try {
                        c = Class.forName(name, false, loader);
                    } catch (Throwable t) {
                        out.append("#ERROR ").append(name).append(' ').append(t).append('\n');
                        continue;
                    }
                    if (c.isAnonymousClass() || c.isLocalClass())
                        continue;
                    boolean visible = true;
                    for (Class<?> k = c; k != null && visible; k = k.getDeclaringClass())
                        visible = Modifier.isPublic(k.getModifiers());
                    if (visible)
                        out.append(name).append('\t').append(d.name()).append('\t')
                           .append(c.isAnnotationPresent(Deprecated.class) ? '1' : '0').append('\n');
                }
            }
        }
        System.out.print(out);
    }
}
