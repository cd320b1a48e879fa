#pragma once

// The launcher's own path, computed once on first use: the long path in
// UTF-16, and an ANSI form that the file functions can open. When the long
// path cannot be expressed in the ANSI code page (or does not end in ".exe"),
// the ANSI form is the 8.3 short path.
const char* executablePath();
const wchar_t* executablePathWide();
