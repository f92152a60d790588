// How start-up fails, whatever failed.
#pragma once

// Reports a start-up failure as one line on standard error, shuts SDL down and
// exits with status 1: "Vorlex: <action>: <reason>". Nothing runs after it.
[[noreturn]] void startFail(const char *action, const char *reason);
