#include "app/texture.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_opengl.h>
#include <cerrno>
#include <fcntl.h>
#include <climits>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

#include "app/display.h"
#include "app/image.h"

namespace {

// Ends start-up over the image at path; frees what the loader holds first.
[[noreturn]] void loadFail(const char *path, const char *reason,
                           SDL_Surface *image = nullptr, SDL_Surface *staging = nullptr)
{
    char why[640];
    std::snprintf(why, sizeof why, "%s", reason && *reason ? reason : "no reason given");
    if (image)
        SDL_FreeSurface(image);
    if (staging)
        SDL_FreeSurface(staging);

    char cwd[PATH_MAX];
    if (!getcwd(cwd, sizeof cwd))
        std::snprintf(cwd, sizeof cwd, "unknown");
    char action[PATH_MAX + 640];
    std::snprintf(action, sizeof action, "cannot load \"%s\" (working directory %s)", path, cwd);
    startFail(action, why);
}

// An image that SDL_image could not read. When the file is not there at all,
// the program was most likely started from the wrong folder.
[[noreturn]] void readFail(const char *path)
{
    struct stat info;
    const bool missing = stat(path, &info) != 0 && errno == ENOENT;
    char reason[640];
    std::snprintf(reason, sizeof reason, "%s%s", IMG_GetError(),
                  missing ? "; start the program from the folder that holds Vorlex.app" : "");
    loadFail(path, reason);
}

// Keeps what a decoding library prints on standard error while it reads a
// broken file (libpng does) off the user's terminal: the one line the loader
// writes carries SDL_image's own reason.
class QuietStderr {
public:
    QuietStderr() : saved_(dup(STDERR_FILENO))
    {
        const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && null >= 0)
            dup2(null, STDERR_FILENO);
        if (null >= 0)
            close(null);
    }
    ~QuietStderr()
    {
        if (saved_ >= 0) {
            dup2(saved_, STDERR_FILENO);
            close(saved_);
        }
    }
    QuietStderr(const QuietStderr &) = delete;
    QuietStderr &operator=(const QuietStderr &) = delete;

private:
    int saved_;
};

// Far longer than the largest texture takes to decode.
constexpr unsigned kDecodeSeconds = 5;

// Reads the image, after its header has shown that its size can become a
// texture: SDL_image's GIF reader crashes on a picture of no pixels or of an
// absurd size and shows a cut-short one as whole, and the others would
// allocate whatever a header asks for. Damaged data that passes the header
// can still keep the GIF reader busy for ever, so the decoding is timed.
SDL_Surface *readImage(const char *path, long largest)
{
    if (std::FILE *file = std::fopen(path, "rb")) {
        long width = 0, height = 0;
        const Header header = declaredSize(file, &width, &height);
        std::fclose(file);
        if (header == Header::cutShort)
            loadFail(path, "the file is cut short");
        if (header == Header::noPicture)
            loadFail(path, "the file holds no picture");
        if (header == Header::sized) {
            const std::string problem = sizeProblem(width, height, largest);
            if (!problem.empty())
                loadFail(path, problem.c_str());
        }
    }
    SDL_Surface *image = nullptr;
    bool timedOut = false;
    {
        const QuietStderr quiet;
        image = decodeWithin(
            kDecodeSeconds, [](void *file) { return IMG_Load(static_cast<const char *>(file)); },
            const_cast<char *>(path), &timedOut);
    }
    if (timedOut) {
        char reason[96];
        std::snprintf(reason, sizeof reason, "the image decoder did not finish within %u seconds",
                      kDecodeSeconds);
        loadFail(path, reason);
    }
    if (!image)
        readFail(path);
    // Formats without a header check, and decoders that disagree with theirs.
    const std::string problem = sizeProblem(image->w, image->h, largest);
    if (!problem.empty())
        loadFail(path, problem.c_str(), image);
    return image;
}

// Both loaders, step for step; only the target and the padding differ.
void loadTexture(const char *path, unsigned long *texture, GLenum target)
{
    const bool rectangle = target == GL_TEXTURE_RECTANGLE_ARB;
    GLint largest = 0;
    glGetIntegerv(rectangle ? GL_MAX_RECTANGLE_TEXTURE_SIZE_ARB : GL_MAX_TEXTURE_SIZE, &largest);

    SDL_Surface *image = readImage(path, largest);
    SDL_Surface *staging = stageImage(image, !rectangle);
    if (!staging)
        loadFail(path, SDL_GetError(), image);

    GLuint name = 0;
    glGenTextures(1, &name);
    if (rectangle)
        glEnable(GL_TEXTURE_RECTANGLE_ARB);
    glBindTexture(target, name);
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    // Rows of 4 x width bytes fit the default unpack alignment of 4.
    glTexImage2D(target, 0, GL_RGBA, staging->w, staging->h, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 staging->pixels);
    if (rectangle)
        glDisable(GL_TEXTURE_RECTANGLE_ARB);

    *texture = name;
    if (name == 0)
        loadFail(path, "OpenGL gave no texture name", image, staging);
    SDL_FreeSurface(image);
    SDL_FreeSurface(staging);
}

} // namespace

void creatTex(const char *path, unsigned long *texture)
{
    loadTexture(path, texture, GL_TEXTURE_2D);
}

void creatTex2(const char *path, unsigned long *texture)
{
    loadTexture(path, texture, GL_TEXTURE_RECTANGLE_ARB);
}
