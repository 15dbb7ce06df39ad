#pragma once
// Latin spellings of the interface's names for keyboards without Cyrillic, and the look-up the
// command line and the JSON protocol use: the declared name (any letter case) first, then its
// transliteration, then a spelling that mixes look-alike letters of the two scripts. The COM
// server answers to the declared names only, as the original does.

#include <string>
#include <string_view>

#include "interface/method_table.hpp"

namespace armocalc {

// The fixed transliteration: а a, б b, в v, г g, д d, е e, ё e, ж zh, з z, и i, й y, к k, л l,
// м m, н n, о o, п p, р r, с s, т t, у u, ф f, х kh, ц ts, ч ch, ш sh, щ shch, ъ (none), ы y,
// ь (none), э e, ю yu, я ya; a capital letter begins its Latin group with a capital (Ж Zh).
// Every other character stays as it is: "мтПрочностьB" -> "mtProchnostB", "Fв" -> "Fv".
std::string Transliterated(std::string_view name);

// The name with every Cyrillic letter that looks like a Latin one (А В Е К М Н О Р С Т Х а е о
// р с у х) replaced by that Latin letter: two spellings that look alike become equal.
std::string LookAlikeSkeleton(std::string_view name);

// The method or parameter a user's spelling names, or nullptr / -1.
const MethodInfo* LookUpMethod(std::string_view name);
int LookUpParam(const MethodInfo& method, std::string_view name);

}  // namespace armocalc
