// The class lookup (filled in by the class-library work).
