#pragma once
// Java's Double.toString, which the tokenizer's number tokens are printed with.

#include <QString>

namespace platform {

// Double.toString(double): the shortest decimal that reads back as d ("1.0",
// "0.001", "1.0E7", "1.2345678901E10", "-0.0", "NaN", "Infinity").
QString javaDoubleToString(double d);

}  // namespace platform
