#pragma once
#include <QString>

#include <vector>

// The recipe a fresh data root starts with, fitted to the virtual machine.
// Every value, its meaning and the reason for it are listed in docs/demo-recipe.md.
namespace DemoRecipe {
constexpr const char* kName = "demo";

// Creates the demo recipe and makes it current when no recipe exists yet. When
// recipes exist but none is current (name file missing, empty or naming a missing
// folder), "demo" or else the first recipe becomes current.
// Returns an empty string on success, else what went wrong.
QString ensure();

struct Value {
    char array; // 'd' gd, 'f' gf, 'r' gr
    int index;
    double value;
};
// The non-zero values of the recipe; every other entry is 0.
const std::vector<Value>& values();
} // namespace DemoRecipe
