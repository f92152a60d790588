// What the shell needs of the system on Linux: where the program's bundle
// lies, what the bundle calls the program, and the process's own name.
// No SDL here.
#pragma once

#include <cstddef>
#include <string>

// The running executable's absolute path (from /proc/self/exe), or "" when
// the system cannot say.
std::string executablePath();

// The bundle an executable belongs to: the X.app folder when it lies at
// X.app/Contents/MacOS/<name>, else the executable's own folder.
std::string bundlePath(const std::string &executable);

// The bundle of the running executable; "" when it is unknown.
std::string mainBundlePath();

// A path without its last component: "/a/b" gives "/a", "/a" gives "/".
// "" gives "".
std::string parentFolder(const std::string &path);

// Copies path into buffer as a zero-terminated string; false, leaving the
// buffer undefined, when there is no path or it does not fit in size bytes.
bool fileSystemRepresentation(const std::string &path, char *buffer, std::size_t size);

// A bundle's Info.plist is a few hundred bytes; anything larger is refused.
constexpr long kLargestInfoPlist = 64 * 1024;

// Puts the CFBundleName string of the property list at plistPath in *name:
// "" when the file, the key or its string is missing. Reads that one key,
// nothing else. False, with the reason in *why, when the file is there but is
// no regular file (a folder, a FIFO, a device), is over kLargestInfoPlist or
// cannot be read; a FIFO does not hold it up.
bool bundleName(const std::string &plistPath, std::string *name, std::string *why);

// Reopens any of standard input, output and error that is closed on
// /dev/null, before anything else can take its descriptor (the X connection
// taking descriptor 1 would get the frame-rate lines), and ignores SIGPIPE.
// Called first thing in main.
void guardStandardStreams();

// The name the program runs under: its executable's file name.
std::string processName();
