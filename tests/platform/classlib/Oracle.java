// The JVM as oracle: prints Constructor.toString() and Method.toString() of
// getConstructors() then getMethods() for each class named, as
//   #CLASS name
//   one member a line
// or "#ERROR name exception" when the JVM cannot give them.
// Arguments: class names, "@file" (one name a line), or "--all m1,m2" (every
// class of those modules, non-public ones too).
import java.lang.reflect.Constructor;
import java.lang.reflect.Method;
import java.net.URI;
import java.nio.file.FileSystem;
import java.nio.file.FileSystems;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.stream.Stream;

public class Oracle {
    public static void main(String[] args) throws Exception {
        List<String> names = new ArrayList<>();
        for (int i = 0; i < args.length; i++) {
            if (args[i].equals("--all")) {
                FileSystem jrt = FileSystems.getFileSystem(URI.create("jrt:/"));
                for (String module : args[++i].split(",")) {
                    Path root = jrt.getPath("/modules", module);
                    try (Stream<Path> s = Files.walk(root)) {
                        s.map(p -> root.relativize(p).toString())
                         .filter(p -> p.endsWith(".class") && !p.endsWith("module-info.class"))
                         .sorted()
                         .forEach(p -> names.add(p.substring(0, p.length() - 6).replace('/', '.')));
                    }
                }
            } else if (args[i].startsWith("@")) {
                for (String line : Files.readAllLines(Path.of(args[i].substring(1)))) {
                    line = line.strip();
                    if (!line.isEmpty() && !line.startsWith("#"))
                        names.add(line);
                }
            } else {
                names.add(args[i]);
            }
        }
        StringBuilder out = new StringBuilder();
        ClassLoader loader = ClassLoader.getSystemClassLoader();
        for (String name : names) {
            try {
                Class<?> c = Class.forName(name, false, loader);
                StringBuilder one = new StringBuilder();
                one.append("#CLASS ").append(name).append('\n');
                for (Constructor<?> k : c.getConstructors())
                    one.append(k).append('\n');
                for (Method m : c.getMethods())
                    one.append(m).append('\n');
                out.append(one);
            } catch (Throwable t) {
                out.append("#ERROR ").append(name).append(' ')
                   .append(String.valueOf(t).replace('\n', ' ')).append('\n');
            }
            if (out.length() > (1 << 20)) {
                System.out.print(out);
                out.setLength(0);
            }
        }
        System.out.print(out);
        System.out.flush();
    }
}
