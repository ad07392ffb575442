# The allocation-counting hooks as a target to link: the linker sends every call our
# objects make to the counted symbols through the __wrap_ functions of alloc_count.cpp.
include_guard(GLOBAL)

set(_slot_counted_symbols
    malloc calloc realloc posix_memalign aligned_alloc
    _Znwm _Znam _ZnwmRKSt9nothrow_t _ZnamRKSt9nothrow_t
    _ZnwmSt11align_val_t _ZnamSt11align_val_t
    _ZnwmSt11align_val_tRKSt9nothrow_t _ZnamSt11align_val_tRKSt9nothrow_t
    gluNewQuadric glGenTextures glGenLists glGenQueries glGenQueriesARB)

add_library(slot_alloc_count OBJECT ${CMAKE_CURRENT_LIST_DIR}/alloc_count.cpp)
target_link_libraries(slot_alloc_count PUBLIC slot_core slot_audio)
foreach(symbol IN LISTS _slot_counted_symbols)
  target_link_options(slot_alloc_count INTERFACE "LINKER:--wrap=${symbol}")
endforeach()
