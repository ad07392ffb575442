// Counts what the game's own code allocates: every call it makes to malloc, calloc,
// realloc, operator new and new[], gluNewQuadric and the GL's object-name generators.
#pragma once

#include <cstdint>

struct AllocCounts {
    uint64_t mallocs;   // malloc, calloc, realloc, posix_memalign, aligned_alloc
    uint64_t news;      // every form of operator new and new[]
    uint64_t quadrics;  // gluNewQuadric
    uint64_t glNames;   // glGenTextures, glGenLists, glGenQueries(ARB)

    uint64_t total() const { return mallocs + news + quadrics + glNames; }
};

// Running totals since the process started. The counts cover calls made from code
// linked into the executable (the game's library, the test or benchmark itself),
// not what Mesa, GLU or the C library allocate inside themselves.
AllocCounts allocCounts();

AllocCounts operator-(const AllocCounts& a, const AllocCounts& b);
