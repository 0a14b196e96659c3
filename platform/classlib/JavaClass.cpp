// The class library reader (filled in by the class-library work).
