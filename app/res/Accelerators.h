#pragma once

#include <span>

namespace res {

// Keys of the accelerator tables, independent of any toolkit. Letters and digits are their
// upper-case ASCII codes; the other keys get numbers above the ASCII range.
enum AccelKey : int {
  kKeyF1 = 0x1001,
  kKeyF2,
  kKeyF3,
  kKeyF4,
  kKeyF5,
  kKeyF6,
  kKeyEscape = 0x1101,
  kKeyPageUp,
  kKeyPageDown,
};

enum AccelModifier : int { kModNone = 0, kModCtrl = 1, kModShift = 2, kModAlt = 4 };

struct AccelDef {
  int modifiers;  // AccelModifier bits
  int key;        // AccelKey or an upper-case ASCII letter
  int command;
};

// The rows of accelerator table `id` (128 for the main window, 30997 for the print preview);
// empty for an unknown number.
std::span<const AccelDef> AcceleratorTable(int id);

}  // namespace res
