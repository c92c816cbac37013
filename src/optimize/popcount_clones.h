#pragma once

// Marks a function to be compiled twice on x86-64: with the processor's
// population count instruction and portably; the program picks one when it
// loads. Elsewhere (and with other compilers) the function is compiled once.
// Functions it calls inline are compiled into both versions.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define HALVANE_POPCOUNT_CLONES [[gnu::target_clones("popcnt", "default")]]
#else
#define HALVANE_POPCOUNT_CLONES
#endif
