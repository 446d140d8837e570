// face.h - which font file a LOGFONTA asks for: face name, weight, italic and family go
// through fontconfig to one installed file, with the synthetic styles it then needs.
#ifndef STANDIN_FONT_FACE_H
#define STANDIN_FONT_FACE_H

#include <standin/win32.h>

#include <optional>
#include <string>

namespace standin::font {

struct FaceChoice {
    std::string file;
    int index = 0;          // face within the file (collections)
    std::string family;     // the family the file belongs to
    int weight = 400;       // the file's own weight, OpenType scale
    bool italic = false;    // the file is italic or oblique
    bool syntheticBold = false;
    bool syntheticItalic = false;
};

// The face for a LOGFONTA, or nothing when no scalable font is installed at all.
std::optional<FaceChoice> ChooseFace(const LOGFONTA &logfont);

// The family a face name or a LOGFONT family stands for before fontconfig is asked:
// the Windows core faces map to their metric-compatible Liberation families, an
// installed family keeps its name, anything else falls back by pitch and family.
std::string FamilyFor(const LOGFONTA &logfont);

} // namespace standin::font

#endif // STANDIN_FONT_FACE_H
