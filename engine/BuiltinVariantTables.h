// The built-in variant tables, generated from Unihan and OpenCC by
// scripts/generate-variant-tables into variants/BuiltinVariantTables.cpp.
//
// Each table is the text of a table file (UTF-8, one class a line) in one
// or more layers; its classes are those of all its layers together.

#ifndef TESSEL_ENGINE_BUILTINVARIANTTABLES_H_
#define TESSEL_ENGINE_BUILTINVARIANTTABLES_H_

#include <span>
#include <string_view>

namespace tessel {

struct BuiltinVariantTable {
  std::string_view name;
  std::span<const std::string_view> layers;
};

// Every built-in table: z, semantic, forms, simplified, in that order.
std::span<const BuiltinVariantTable> BuiltinVariantTables();

}  // namespace tessel

#endif  // TESSEL_ENGINE_BUILTINVARIANTTABLES_H_
