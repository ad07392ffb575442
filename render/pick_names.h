// The names drawing puts on the pieces a player can click, and the hook through which a
// pick pass hears them; the pass itself lives with the game's picking.
#pragma once

#include <cstdint>

// ---------------------------------------------------------------------------------
// Selection names
// ---------------------------------------------------------------------------------

enum PickName : uint32_t {
    PickNone = 0xFFFFFFFFu,
    PickLever = 5,
    PickBetOne = 6,
    PickBetFive = 7,
    PickDollarOne = 8,
    PickDollarTwo = 9,
    PickDollarFive = 10,
};

// ---------------------------------------------------------------------------------
// Naming
// ---------------------------------------------------------------------------------

// Hears each name as drawing reaches the pieces it covers.
using PickLabeller = void (*)(uint32_t name);

// Installs the labeller for the length of a pick pass; nullptr, as while drawing
// frames, leaves names unheard.
void setPickLabeller(PickLabeller labeller);
// Names the parts drawn from here on, for the pick pass under way if there is one.
void setPickName(uint32_t name);
