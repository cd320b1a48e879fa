#pragma once

// Files the stand-in jvm.dll shares with the tests, and how its transcript is
// written. Portable: the DLL writes with these helpers, the host reads with
// tests/support/JvmTranscript.
//
// TRANSCRIPT — "standin-jvm-transcript.txt" beside the jvm.dll that was loaded.
// Appended one line at a time ("\n" ends), each line written straight to the
// file, so a process that ends inside main (ExitProcess, a kill) loses nothing.
// A line is a keyword followed by tokens separated by one blank. A token is
//   a bare word          123   0x00010002   found   null
//   a narrow text        "C:\\app\\boot.jar"   bytes 0x20..0x7E as they are
//                        except \" and \\; every other byte as \xHH
//   a wide text          u"a\u00e9b"   UTF-16 units 0x20..0x7E as they are
//                        except \" and \\; every other unit as \uXXXX
//                        (so surrogates and unpaired halves stay exact)
// Keywords in lower case are the stand-in's own events, capitalised keywords
// are the JNI calls it received.
//
// Every JNI_CreateJavaVM call opens a session:
//   session <pid>
//   startup-ms <ms from process creation to the JNI_CreateJavaVM call>
//   startup-us <the same in microseconds>      (-1 in both without the times)
//   version 0x<JavaVMInitArgs.version, 8 hex digits>
//   option "<optionString>"                   one line per option, in order
//   ignoreUnrecognized <0|1>
//   created <result>                          0, or the refusal below
// then, in the order they happen:
//   FindClass "<name>" found "<class path entry>" | builtin | missing
//   GetStaticMethodID "<class>" "<name>" "<signature>" found | missing
//   CallStaticVoidMethod "<class>" "<name>" "<signature>" <arguments>
//   CallStaticBooleanMethod ...                (also for the V and A forms)
//       arguments: a String as u"...", a String[] as its elements, a null as
//       null, another object as object, a primitive as primitive
//   NewObjectArray <length> "<element class>"
//   NewString <length> u"<units>"
//   NewStringUTF "<bytes>"
//   SetObjectArrayElement <index> u"<element>" | null | object
//   GetObjectArrayElement <index>, GetArrayLength <n>, GetStringLength <n>,
//   GetStringChars u"...", GetStringUTFChars u"...", GetStringUTFLength <n>,
//   ReleaseStringChars, ReleaseStringUTFChars, DeleteLocalRef, NewGlobalRef,
//   DeleteGlobalRef, GetVersion, GetJavaVM, ExceptionClear, ExceptionDescribe,
//   ExceptionCheck <0|1>, ExceptionOccurred none | "<exception class>",
//   DestroyJavaVM, AttachCurrentThread, AttachCurrentThreadAsDaemon,
//   DetachCurrentThread, GetEnv 0x<version>
// and the stand-in's events:
//   throw "<exception class>"      an exception became pending
//   return [true|false]            a static method returned (no exception)
//   main sleep <ms>                before sleeping
//   main exit <code>               just before ExitProcess
//   main window | main window-failed <error>
//   main stdin "<line>" | main stdin-eof "<partial>" | main stdin-timeout
//   main instance-file "<path>" <bytes> u"<content as UTF-16LE>"
//   main instance-file-timeout "<path>"
//   config-error "<line>"          the behaviour file was refused
//   fault "<function>" "<what>"    a misuse of JNI; the process ends with
//                                  kFaultExitCode
//   unexpected <slot>              a JNI function the stand-in does not
//                                  implement; the process ends the same way
//
// BEHAVIOUR FILE — "standin-jvm.cfg" beside the jvm.dll, read by every
// JNI_CreateJavaVM; see StandinJvmConfig.h for its keys.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace standin {

inline constexpr const char* kTranscriptFileName = "standin-jvm-transcript.txt";
inline constexpr const char* kConfigFileName = "standin-jvm.cfg";
// Exit code of a process whose launcher misused JNI or called a function the
// stand-in does not provide.
inline constexpr unsigned kFaultExitCode = 97;

inline void appendWordToken(std::string& line, std::string_view word) {
    line += ' ';
    line += word;
}

inline void appendNarrowToken(std::string& line, std::string_view bytes) {
    line += " \"";
    for (unsigned char c : bytes) {
        if (c == '"' || c == '\\') {
            line += '\\';
            line += static_cast<char>(c);
        } else if (c >= 0x20 && c <= 0x7E) {
            line += static_cast<char>(c);
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            line += escaped;
        }
    }
    line += '"';
}

inline void appendWideToken(std::string& line, std::u16string_view units) {
    line += " u\"";
    for (char16_t unit : units) {
        if (unit == u'"' || unit == u'\\') {
            line += '\\';
            line += static_cast<char>(unit);
        } else if (unit >= 0x20 && unit <= 0x7E) {
            line += static_cast<char>(unit);
        } else {
            char escaped[7];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(unit));
            line += escaped;
        }
    }
    line += '"';
}

}  // namespace standin
