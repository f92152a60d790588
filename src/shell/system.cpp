#include "shell/system.h"

#include <cerrno>
#include <cstring>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool endsWith(const std::string &text, const std::string &tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string lastComponent(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The five entities XML needs; a property list written by hand or by a build
// uses no others.
std::string unescapeXml(const std::string &text)
{
    static const struct {
        const char *entity;
        char character;
    } entities[] = {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    std::string plain;
    for (std::size_t at = 0; at < text.size();) {
        bool replaced = false;
        for (const auto &known : entities) {
            const std::size_t length = std::strlen(known.entity);
            if (text.compare(at, length, known.entity) == 0) {
                plain += known.character;
                at += length;
                replaced = true;
                break;
            }
        }
        if (!replaced)
            plain += text[at++];
    }
    return plain;
}

} // namespace

std::string executablePath()
{
    std::string path(256, '\0');
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
        if (length < 0)
            return "";
        if (static_cast<std::size_t>(length) < path.size()) {
            path.resize(static_cast<std::size_t>(length));
            return path;
        }
        path.resize(path.size() * 2);  // may have been cut short: ask again
    }
}

std::string bundlePath(const std::string &executable)
{
    const std::string folder = parentFolder(executable);
    const std::string contents = parentFolder(folder);
    const std::string bundle = parentFolder(contents);
    const std::string name = lastComponent(bundle);
    if (lastComponent(folder) == "MacOS" && lastComponent(contents) == "Contents" &&
        name.size() > 4 && endsWith(name, ".app"))
        return bundle;
    return folder;
}

std::string mainBundlePath()
{
    return bundlePath(executablePath());
}

std::string parentFolder(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return "";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool fileSystemRepresentation(const std::string &path, char *buffer, std::size_t size)
{
    if (path.empty() || path.size() + 1 > size)
        return false;
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return true;
}

bool bundleName(const std::string &plistPath, std::string *name, std::string *why)
{
    name->clear();
    const int fd = open(plistPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        if (errno == ENOENT)
            return true;  // no property list: the name is the process's
        *why = std::strerror(errno);
        return false;
    }
    struct stat info;
    std::string text;
    if (fstat(fd, &info) != 0)
        *why = std::strerror(errno);
    else if (!S_ISREG(info.st_mode))
        *why = "it is not a regular file";
    else if (info.st_size > kLargestInfoPlist)
        *why = "it is " + std::to_string(info.st_size) + " bytes, more than the " +
               std::to_string(kLargestInfoPlist) + " a property list may have";
    else {
        // Read to the limit and no further: the file may grow meanwhile.
        text.resize(static_cast<std::size_t>(kLargestInfoPlist) + 1);
        std::size_t got = 0;
        for (ssize_t n; got < text.size(); got += static_cast<std::size_t>(n)) {
            n = read(fd, &text[got], text.size() - got);
            if (n < 0 && errno == EINTR)
                n = 0;
            else if (n <= 0) {
                if (n < 0)
                    *why = std::strerror(errno);
                break;
            }
        }
        text.resize(got);
        if (why->empty() && got > static_cast<std::size_t>(kLargestInfoPlist))
            *why = "it grew past the " + std::to_string(kLargestInfoPlist) + " bytes a property list may have";
    }
    close(fd);
    if (!why->empty())
        return false;

    const std::string key = "<key>CFBundleName</key>";
    std::size_t at = text.find(key);
    if (at == std::string::npos)
        return true;
    at = text.find_first_not_of(" \t\r\n", at + key.size());
    const std::string open = "<string>";
    if (at == std::string::npos || text.compare(at, open.size(), open) != 0)
        return true;  // <string/>, or a value that is no string
    at += open.size();
    const std::size_t end = text.find("</string>", at);
    if (end != std::string::npos)
        *name = unescapeXml(text.substr(at, end - at));
    return true;
}

void guardStandardStreams()
{
    // Lowest first: open() takes the lowest free descriptor, the closed one.
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (fcntl(fd, F_GETFD) >= 0 || errno != EBADF)
            continue;
        const int null = open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (null != fd) {
            // Nothing can be said: standard error may be the one closed.
            _exit(1);
        }
    }
    // A reader that left is no reason to die: the write says EPIPE instead.
    signal(SIGPIPE, SIG_IGN);
}

std::string processName()
{
    const std::string name = lastComponent(executablePath());
    return name.empty() ? program_invocation_short_name : name;
}
