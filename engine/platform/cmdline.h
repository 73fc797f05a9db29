// Splits a command line into argc/argv the way the engine always has:
// whitespace separates, double quotes group (and are dropped), backslashes
// are ordinary characters, "" is an empty argument.
#ifndef VXE_PLATFORM_CMDLINE_H
#define VXE_PLATFORM_CMDLINE_H

// Returns a null-terminated argv; the pointers and the strings share one
// malloc block, so a single free() releases everything. A null text splits
// like an empty one. Null only when memory runs out.
char **CommandLineToArgvA(const char *text, int *argc);

#endif
