// The counting hooks behind alloc_count.h. The executable is linked with the linker's
// --wrap for each counted symbol (see alloc_count.cmake): a call from our objects to
// malloc reaches __wrap_malloc, which counts and forwards to the real malloc.
#include "tests/stress/alloc_count.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstddef>
#include <new>

namespace {
AllocCounts counts = {0, 0, 0, 0};
}

AllocCounts allocCounts() { return counts; }

AllocCounts operator-(const AllocCounts& a, const AllocCounts& b) {
    return {a.mallocs - b.mallocs, a.news - b.news, a.quadrics - b.quadrics, a.glNames - b.glNames};
}

// The linker fixes the __real_ and __wrap_ names.
// NOLINTBEGIN(bugprone-reserved-identifier)
extern "C" {
void* __real_malloc(size_t size);
void* __real_calloc(size_t count, size_t size);
void* __real_realloc(void* block, size_t size);
int __real_posix_memalign(void** block, size_t alignment, size_t size);
void* __real_aligned_alloc(size_t alignment, size_t size);
GLUquadric* __real_gluNewQuadric();
void __real_glGenTextures(GLsizei n, GLuint* names);
GLuint __real_glGenLists(GLsizei range);
void __real_glGenQueries(GLsizei n, GLuint* names);
void __real_glGenQueriesARB(GLsizei n, GLuint* names);

// Mangled names of operator new and new[]: plain, nothrow, aligned, aligned nothrow.
void* __real__Znwm(size_t size);
void* __real__Znam(size_t size);
void* __real__ZnwmRKSt9nothrow_t(size_t size, const std::nothrow_t& tag);
void* __real__ZnamRKSt9nothrow_t(size_t size, const std::nothrow_t& tag);
void* __real__ZnwmSt11align_val_t(size_t size, std::align_val_t alignment);
void* __real__ZnamSt11align_val_t(size_t size, std::align_val_t alignment);
void* __real__ZnwmSt11align_val_tRKSt9nothrow_t(size_t size, std::align_val_t alignment, const std::nothrow_t& tag);
void* __real__ZnamSt11align_val_tRKSt9nothrow_t(size_t size, std::align_val_t alignment, const std::nothrow_t& tag);

void* __wrap_malloc(size_t size) {
    ++counts.mallocs;
    return __real_malloc(size);
}
void* __wrap_calloc(size_t count, size_t size) {
    ++counts.mallocs;
    return __real_calloc(count, size);
}
void* __wrap_realloc(void* block, size_t size) {
    ++counts.mallocs;
    return __real_realloc(block, size);
}
int __wrap_posix_memalign(void** block, size_t alignment, size_t size) {
    ++counts.mallocs;
    return __real_posix_memalign(block, alignment, size);
}
void* __wrap_aligned_alloc(size_t alignment, size_t size) {
    ++counts.mallocs;
    return __real_aligned_alloc(alignment, size);
}
GLUquadric* __wrap_gluNewQuadric() {
    ++counts.quadrics;
    return __real_gluNewQuadric();
}
void __wrap_glGenTextures(GLsizei n, GLuint* names) {
    ++counts.glNames;
    __real_glGenTextures(n, names);
}
GLuint __wrap_glGenLists(GLsizei range) {
    ++counts.glNames;
    return __real_glGenLists(range);
}
void __wrap_glGenQueries(GLsizei n, GLuint* names) {
    ++counts.glNames;
    __real_glGenQueries(n, names);
}
void __wrap_glGenQueriesARB(GLsizei n, GLuint* names) {
    ++counts.glNames;
    __real_glGenQueriesARB(n, names);
}

void* __wrap__Znwm(size_t size) {
    ++counts.news;
    return __real__Znwm(size);
}
void* __wrap__Znam(size_t size) {
    ++counts.news;
    return __real__Znam(size);
}
void* __wrap__ZnwmRKSt9nothrow_t(size_t size, const std::nothrow_t& tag) {
    ++counts.news;
    return __real__ZnwmRKSt9nothrow_t(size, tag);
}
void* __wrap__ZnamRKSt9nothrow_t(size_t size, const std::nothrow_t& tag) {
    ++counts.news;
    return __real__ZnamRKSt9nothrow_t(size, tag);
}
void* __wrap__ZnwmSt11align_val_t(size_t size, std::align_val_t alignment) {
    ++counts.news;
    return __real__ZnwmSt11align_val_t(size, alignment);
}
void* __wrap__ZnamSt11align_val_t(size_t size, std::align_val_t alignment) {
    ++counts.news;
    return __real__ZnamSt11align_val_t(size, alignment);
}
void* __wrap__ZnwmSt11align_val_tRKSt9nothrow_t(size_t size, std::align_val_t alignment, const std::nothrow_t& tag) {
    ++counts.news;
    return __real__ZnwmSt11align_val_tRKSt9nothrow_t(size, alignment, tag);
}
void* __wrap__ZnamSt11align_val_tRKSt9nothrow_t(size_t size, std::align_val_t alignment, const std::nothrow_t& tag) {
    ++counts.news;
    return __real__ZnamSt11align_val_tRKSt9nothrow_t(size, alignment, tag);
}
}
// NOLINTEND(bugprone-reserved-identifier)
