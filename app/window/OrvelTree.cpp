#include "app/window/OrvelTree.h"
orvel_tree::orvel_tree() { show(); }
void orvel_tree::main() { new orvel_tree(); }
