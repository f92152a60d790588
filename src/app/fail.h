// How start-up fails, whatever failed.
#pragma once

// Reports a start-up failure as one line on standard error, shuts SDL down and
// exits with status 1: "Vorlex: <action>: <reason>". Nothing runs after it.
[[noreturn]] void startFail(const char *action, const char *reason);

// Where the line goes as well, for a platform whose standard error may reach
// no one: called with the whole line before the exit. None by default.
using FailureEcho = void (*)(const char *line);
void echoStartFailures(FailureEcho echo);

// Defined in a build with AddressSanitizer, whose reports go to standard
// error: code that redirects standard error for a while leaves it alone there.
#if defined(__SANITIZE_ADDRESS__)
#define VORLEX_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VORLEX_SANITIZED 1
#endif
#endif
