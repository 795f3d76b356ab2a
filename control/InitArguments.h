#pragma once
// Init's loosely typed arguments, turned into the codes the printer takes.

#include <QVariant>
#include <optional>

namespace quillet {

/// "P"/"PRT" in any case selects direct printing; anything else, or a missing
/// argument, the preview.
bool isDirectMode(const QVariant &PrtScreen);

/// Orientation code: texts starting with P or L give 1 or 2, numbers pass
/// through; nullopt for a value that is no number at all ("X").
std::optional<int> orientationCode(const QVariant &POri);

/// Paper code: "LETTER" 1, "LEGAL" 5, "A3" 8, "A4" 9, numbers and numeric
/// texts pass through; nullopt for any other text.
std::optional<int> paperCode(const QVariant &PPaper);

} // namespace quillet
