// face.cpp - font file selection with fontconfig. Families are looked up by exact name
// among the installed files, never through fontconfig's generic aliases, so a LOGFONT
// gives the same file on every machine that has the same fonts installed.
#include "face.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

namespace standin::font {
namespace {

constexpr std::string_view kSans = "Liberation Sans";
constexpr std::string_view kSerif = "Liberation Serif";
constexpr std::string_view kMono = "Liberation Mono";

// Windows' core faces and the families drawn with the same advance widths.
struct Alias {
    std::string_view windowsName;
    std::string_view family;
};
constexpr std::array kAliases{
    Alias{"arial", kSans},
    Alias{"helvetica", kSans},
    Alias{"arial narrow", "Liberation Sans Narrow"},
    Alias{"times new roman", kSerif},
    Alias{"times", kSerif},
    Alias{"tms rmn", kSerif},
    Alias{"courier new", kMono},
    Alias{"courier", kMono},
};

// Handwriting faces worth trying for FF_SCRIPT after the ones fontconfig itself prefers.
constexpr std::array<std::string_view, 8> kScriptFaces{
    "Z003", "URW Chancery L", "TeX Gyre Chorus", "Comic Neue",
    "Comic Sans MS", "Segoe Script", "Brush Script MT", "Purisa",
};

std::string Lower(std::string_view s)
{
    std::string out(s);
    for (char &c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool FontconfigReady()
{
    static const bool ready = FcInit() == FcTrue;
    return ready;
}

struct Candidate {
    std::string file;
    int index = 0;
    std::string family;
    int weight = 400; // OpenType scale
    int slant = FC_SLANT_ROMAN;
    int width = FC_WIDTH_NORMAL;
};

// Every scalable installed file whose family list names `family` (case-insensitive).
std::vector<Candidate> ListFamily(std::string_view family)
{
    std::vector<Candidate> out;
    if (!FontconfigReady()) return out;
    FcPattern *pattern = FcPatternCreate();
    FcObjectSet *objects = FcObjectSetBuild(FC_FILE, FC_INDEX, FC_FAMILY, FC_WEIGHT, FC_SLANT,
                                            FC_WIDTH, FC_SCALABLE, nullptr);
    if (!pattern || !objects) {
        if (pattern) FcPatternDestroy(pattern);
        if (objects) FcObjectSetDestroy(objects);
        return out;
    }
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(std::string(family).c_str()));
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcFontSet *set = FcFontList(nullptr, pattern, objects);
    const std::string wanted = Lower(family);
    for (int i = 0; set && i < set->nfont; ++i) {
        FcPattern *font = set->fonts[i];
        FcChar8 *file = nullptr;
        if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch) continue;
        // A file may carry several family names (a condensed cut also names its parent);
        // the first one is its own.
        FcChar8 *first = nullptr;
        if (FcPatternGetString(font, FC_FAMILY, 0, &first) != FcResultMatch) continue;
        if (Lower(reinterpret_cast<const char *>(first)) != wanted) continue;
        Candidate c;
        c.file = reinterpret_cast<const char *>(file);
        c.family = reinterpret_cast<const char *>(first);
        FcPatternGetInteger(font, FC_INDEX, 0, &c.index);
        double weight = FC_WEIGHT_REGULAR;
        if (FcPatternGetDouble(font, FC_WEIGHT, 0, &weight) != FcResultMatch) {
            int w = FC_WEIGHT_REGULAR;
            if (FcPatternGetInteger(font, FC_WEIGHT, 0, &w) == FcResultMatch) weight = w;
        }
        c.weight = static_cast<int>(FcWeightToOpenTypeDouble(weight) + 0.5);
        FcPatternGetInteger(font, FC_SLANT, 0, &c.slant);
        double width = FC_WIDTH_NORMAL;
        if (FcPatternGetDouble(font, FC_WIDTH, 0, &width) != FcResultMatch) {
            int w = FC_WIDTH_NORMAL;
            if (FcPatternGetInteger(font, FC_WIDTH, 0, &w) == FcResultMatch) width = w;
        }
        c.width = static_cast<int>(width);
        out.push_back(std::move(c));
    }
    if (set) FcFontSetDestroy(set);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    // Files are listed in cache order; sort so ties are always broken the same way.
    std::sort(out.begin(), out.end(), [](const Candidate &a, const Candidate &b) {
        return a.file != b.file ? a.file < b.file : a.index < b.index;
    });
    return out;
}

bool FamilyInstalled(std::string_view family) { return !ListFamily(family).empty(); }

// The families fontconfig's own configuration prefers for "cursive", in its order.
std::vector<std::string> PreferredCursiveFamilies()
{
    std::vector<std::string> out;
    if (!FontconfigReady()) return out;
    FcPattern *pattern = FcPatternCreate();
    if (!pattern) return out;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>("cursive"));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcChar8 *name = nullptr;
    for (int i = 0; FcPatternGetString(pattern, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        // Everything after the generic name itself is a general fallback, not a script.
        if (Lower(reinterpret_cast<const char *>(name)) == "cursive") break;
        out.emplace_back(reinterpret_cast<const char *>(name));
    }
    FcPatternDestroy(pattern);
    return out;
}

std::string ScriptFamily()
{
    for (const std::string &family : PreferredCursiveFamilies())
        if (FamilyInstalled(family)) return family;
    for (std::string_view family : kScriptFaces)
        if (FamilyInstalled(family)) return std::string(family);
    // No handwriting face here: GDI then falls back to its default face, and so do we.
    return std::string(kSans);
}

std::string_view FallbackFamily(BYTE pitchAndFamily)
{
    if ((pitchAndFamily & 0x03) == FIXED_PITCH) return kMono;
    switch (pitchAndFamily & 0xF0) {
    case FF_ROMAN: return kSerif;
    case FF_MODERN: return kMono;
    default: return kSans; // FF_SWISS, FF_DONTCARE, FF_DECORATIVE
    }
}

// When even the Liberation fonts are missing, fontconfig's own choice for a generic name.
std::optional<Candidate> GenericMatch(BYTE pitchAndFamily)
{
    if (!FontconfigReady()) return std::nullopt;
    const char *generic = "sans-serif";
    if (FallbackFamily(pitchAndFamily) == kSerif) generic = "serif";
    if (FallbackFamily(pitchAndFamily) == kMono) generic = "monospace";
    FcPattern *pattern = FcNameParse(reinterpret_cast<const FcChar8 *>(generic));
    if (!pattern) return std::nullopt;
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern *match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return std::nullopt;
    std::optional<Candidate> out;
    FcChar8 *family = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch) {
        std::vector<Candidate> list = ListFamily(reinterpret_cast<const char *>(family));
        if (!list.empty()) out = list.front();
    }
    FcPatternDestroy(match);
    return out;
}

int RequestedWeight(LONG lfWeight)
{
    if (lfWeight <= 0) return FW_NORMAL; // FW_DONTCARE
    return std::min<LONG>(lfWeight, 1000);
}

bool IsItalic(int slant) { return slant != FC_SLANT_ROMAN; }

// GDI's preference within a family: the nearest weight, the wanted slant, normal width.
const Candidate &BestStyle(const std::vector<Candidate> &list, int weight, bool italic)
{
    auto cost = [&](const Candidate &c) {
        return std::abs(c.weight - weight) + (IsItalic(c.slant) != italic ? 2000 : 0) +
               std::abs(c.width - FC_WIDTH_NORMAL) * 10;
    };
    return *std::min_element(list.begin(), list.end(), [&](const Candidate &a, const Candidate &b) {
        return cost(a) < cost(b);
    });
}

std::string FaceName(const LOGFONTA &logfont)
{
    const char *name = logfont.lfFaceName;
    return std::string(name, strnlen(name, LF_FACESIZE));
}

} // namespace

std::string FamilyFor(const LOGFONTA &logfont)
{
    const std::string name = FaceName(logfont);
    if (!name.empty()) {
        const std::string lower = Lower(name);
        for (const Alias &alias : kAliases)
            if (lower == alias.windowsName && FamilyInstalled(alias.family)) return std::string(alias.family);
        if (FamilyInstalled(name)) return name;
    }
    if ((logfont.lfPitchAndFamily & 0xF0) == FF_SCRIPT) return ScriptFamily();
    return std::string(FallbackFamily(logfont.lfPitchAndFamily));
}

std::optional<FaceChoice> ChooseFace(const LOGFONTA &logfont)
{
    std::vector<Candidate> list = ListFamily(FamilyFor(logfont));
    if (list.empty()) {
        std::optional<Candidate> generic = GenericMatch(logfont.lfPitchAndFamily);
        if (!generic) return std::nullopt;
        list = ListFamily(generic->family);
        if (list.empty()) list.push_back(*generic);
    }
    const int weight = RequestedWeight(logfont.lfWeight);
    const bool italic = logfont.lfItalic != 0;
    const Candidate &best = BestStyle(list, weight, italic);

    FaceChoice choice;
    choice.file = best.file;
    choice.index = best.index;
    choice.family = best.family;
    choice.weight = best.weight;
    choice.italic = IsItalic(best.slant);
    // GDI emboldens a face that is not bold enough by itself, and slants an upright one.
    choice.syntheticBold = weight > 550 && best.weight < 600;
    choice.syntheticItalic = italic && !choice.italic;
    return choice;
}

} // namespace standin::font

// fontconfig 2.14 loses a few bytes while parsing its configuration files, once per
// process. Its frames cannot be walked by LeakSanitizer's fast unwinder, so the whole
// library is exempt; every pattern and set made here is destroyed by the function that
// made it.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
