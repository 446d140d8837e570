// harness.cpp (scenes) - the harness itself: a surface filled with each background and
// read back untouched. If these fail, no other scene can be trusted.
#include "../scene.h"

namespace scene {

void AddHarnessGroups(std::vector<Group> &out)
{
    Group g{"harness", 24, 20, {}};
    g.Add("marker", [](HDC, Results &) {});
    g.Add("pattern", [](HDC, Results &) {}, Background::Pattern);
    g.Add("fresh-dc-draws-black-pen-white-brush", [](HDC dc, Results &r) {
        // A new memory DC holds BLACK_PEN, WHITE_BRUSH and R2_COPYPEN.
        r(Rectangle(dc, 3, 3, 15, 12));
    });
    out.push_back(std::move(g));
}

} // namespace scene
