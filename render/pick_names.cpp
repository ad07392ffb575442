// The naming hook: drawing calls setPickName before each clickable piece, and a pick
// pass, while it runs, hears the names through the labeller it installed.
#include "render/pick_names.h"

// ---------------------------------------------------------------------------------
// State
// ---------------------------------------------------------------------------------

static PickLabeller pickLabeller = nullptr;

// ---------------------------------------------------------------------------------
// Naming
// ---------------------------------------------------------------------------------

void setPickLabeller(PickLabeller labeller) { pickLabeller = labeller; }

void setPickName(uint32_t name) {
    if (pickLabeller != nullptr) pickLabeller(name);
}
