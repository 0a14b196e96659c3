// javac as oracle for earlier releases: asks javac's model of release N
// (JavacTask with --release N) about classes, and prints for each
//   #CLASS binary.Name
//   D name(descriptors)      a public constructor or method the class declares
//   A name(descriptors)[!]   a public member the class has, inherited ones included
//                            ("!": deprecated for removal, or its class is)
// or "#MISSING name" when the release has no such class. Keys are name and the
// erased parameter types as descriptors; an inner class's constructor gets its
// outer instance back, as the class file has it.
// Arguments: releases ("8,11"), each answered under "#RELEASE N", then class
// names, or "--exports MODULE" for every public class of the packages that
// module of the JDK running this exports.
import java.lang.module.ModuleDescriptor;
import java.net.URI;
import java.util.ArrayList;
import java.util.List;
import java.util.Optional;
import javax.lang.model.element.Element;
import javax.lang.model.element.ElementKind;
import javax.lang.model.element.ExecutableElement;
import javax.lang.model.element.Modifier;
import javax.lang.model.element.NestingKind;
import javax.lang.model.element.PackageElement;
import javax.lang.model.element.TypeElement;
import javax.lang.model.type.ArrayType;
import javax.lang.model.type.DeclaredType;
import javax.lang.model.type.TypeMirror;
import javax.lang.model.util.Elements;
import javax.lang.model.util.Types;
import javax.tools.JavaCompiler;
import javax.tools.SimpleJavaFileObject;
import javax.tools.ToolProvider;
import com.sun.source.util.JavacTask;

public class ReleaseOracle {
    static Elements elements;
    static Types types;

    public static void main(String[] args) throws Exception {
        StringBuilder out = new StringBuilder();
        for (String release : args[0].split(",")) {
            out.append("#RELEASE ").append(release).append('\n');
            answer(release, args, out);
        }
        System.out.print(out);
    }

    static void answer(String release, String[] args, StringBuilder out) {
        JavaCompiler javac = ToolProvider.getSystemJavaCompiler();
        SimpleJavaFileObject dummy = new SimpleJavaFileObject(URI.create("string:///Dummy.java"),
                javax.tools.JavaFileObject.Kind.SOURCE) {
            @Override public CharSequence getCharContent(boolean ignore) { return "class Dummy {}"; }
        };
        JavacTask task = (JavacTask) javac.getTask(null, null, d -> { },
                List.of("--release", release, "-proc:none"), null, List.of(dummy));
        try {
            task.analyze();
        } catch (java.io.IOException e) {
            throw new java.io.UncheckedIOException(e);
        }
        elements = task.getElements();
        types = task.getTypes();
        List<String> names = new ArrayList<>();
        for (int i = 1; i < args.length; i++) {
            if (args[i].equals("--exports")) {
                ModuleDescriptor module = ModuleLayer.boot().findModule(args[++i]).get().getDescriptor();
                for (ModuleDescriptor.Exports e : module.exports()) {
                    if (e.isQualified()) continue;
                    PackageElement p = elements.getPackageElement(e.source());
                    if (p != null) for (Element t : p.getEnclosedElements()) collect((TypeElement) t, names);
                }
            } else {
                names.add(args[i]);
            }
        }
        for (String name : names) print(name, out);
    }

    static void collect(TypeElement t, List<String> names) {
        if (!t.getModifiers().contains(Modifier.PUBLIC)) return;
        names.add(elements.getBinaryName(t).toString());
        for (Element e : t.getEnclosedElements())
            if (e instanceof TypeElement) collect((TypeElement) e, names);
    }

    static void print(String name, StringBuilder out) {
        TypeElement t = elements.getTypeElement(name.replace('$', '.'));
        if (t == null || !elements.getBinaryName(t).contentEquals(name)) {
            out.append("#MISSING ").append(name).append('\n');
            return;
        }
        out.append("#CLASS ").append(name).append('\n');
        boolean isInterface = t.getKind().isInterface();
        for (Element e : t.getEnclosedElements())
            if (isPublicExecutable(e))
                out.append("D ").append(key(t, (ExecutableElement) e)).append('\n');
        boolean classForRemoval = forRemoval(t);
        for (Element e : elements.getAllMembers(t)) {
            if (!isPublicExecutable(e)) continue;
            TypeElement owner = (TypeElement) e.getEnclosingElement();
            // Reflection lists neither a superinterface's static methods nor,
            // for an interface, Object's methods.
            if (owner != t && e.getModifiers().contains(Modifier.STATIC) && owner.getKind().isInterface()) continue;
            if (isInterface && owner.getQualifiedName().contentEquals("java.lang.Object")) continue;
            if (e.getKind() == ElementKind.CONSTRUCTOR && owner != t) continue;
            boolean removal = classForRemoval || forRemoval(e) || forRemoval(owner);
            out.append("A ").append(key(t, (ExecutableElement) e)).append(removal ? "!" : "").append('\n');
        }
    }

    // Read from the mirror: release 8's Deprecated has no forRemoval element.
    static boolean forRemoval(Element e) {
        for (var a : e.getAnnotationMirrors()) {
            if (!((TypeElement) a.getAnnotationType().asElement()).getQualifiedName().contentEquals("java.lang.Deprecated"))
                continue;
            for (var v : a.getElementValues().entrySet())
                if (v.getKey().getSimpleName().contentEquals("forRemoval") && Boolean.TRUE.equals(v.getValue().getValue()))
                    return true;
        }
        return false;
    }

    static boolean isPublicExecutable(Element e) {
        return (e.getKind() == ElementKind.METHOD || e.getKind() == ElementKind.CONSTRUCTOR)
                && e.getModifiers().contains(Modifier.PUBLIC);
    }

    static String key(TypeElement t, ExecutableElement e) {
        StringBuilder k = new StringBuilder();
        boolean constructor = e.getKind() == ElementKind.CONSTRUCTOR;
        k.append(constructor ? "<init>" : e.getSimpleName().toString()).append('(');
        if (constructor && t.getNestingKind() == NestingKind.MEMBER && !t.getModifiers().contains(Modifier.STATIC)
                && !t.getKind().isInterface() && t.getKind() != ElementKind.ENUM)
            k.append(descriptor(t.getEnclosingElement().asType()));
        for (var p : e.getParameters()) k.append(descriptor(p.asType()));
        return k.append(')').toString();
    }

    static String descriptor(TypeMirror type) {
        TypeMirror erased = types.erasure(type);
        switch (erased.getKind()) {
            case BOOLEAN: return "Z";
            case BYTE: return "B";
            case CHAR: return "C";
            case SHORT: return "S";
            case INT: return "I";
            case LONG: return "J";
            case FLOAT: return "F";
            case DOUBLE: return "D";
            case ARRAY: return "[" + descriptor(((ArrayType) erased).getComponentType());
            case DECLARED:
                TypeElement e = (TypeElement) ((DeclaredType) erased).asElement();
                return "L" + elements.getBinaryName(e).toString().replace('.', '/') + ";";
            default: throw new IllegalStateException("unexpected type " + type);
        }
    }
}
