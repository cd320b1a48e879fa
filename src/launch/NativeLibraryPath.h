#pragma once

// Puts the configured native library directories in front of PATH.
void setNativeLibraryPath();
