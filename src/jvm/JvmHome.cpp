#include "jvm/JvmHome.h"

std::string jvmHome;
