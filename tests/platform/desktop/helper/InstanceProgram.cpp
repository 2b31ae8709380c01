#include "helper/InstanceProgram.h"
int RunInstance(const char*) { return 2; }
