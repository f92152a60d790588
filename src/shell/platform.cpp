#include "shell/platform.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
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

std::string bundleName(const std::string &plistPath)
{
    std::ifstream file(plistPath, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());

    const std::string key = "<key>CFBundleName</key>";
    std::size_t at = text.find(key);
    if (at == std::string::npos)
        return "";
    at = text.find_first_not_of(" \t\r\n", at + key.size());
    const std::string open = "<string>";
    if (at == std::string::npos || text.compare(at, open.size(), open) != 0)
        return "";  // <string/>, or a value that is no string
    at += open.size();
    const std::size_t end = text.find("</string>", at);
    if (end == std::string::npos)
        return "";
    return unescapeXml(text.substr(at, end - at));
}

std::string processName()
{
    const std::string name = lastComponent(executablePath());
    return name.empty() ? program_invocation_short_name : name;
}

bool makeFrontProcess()
{
    return true;
}
