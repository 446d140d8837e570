// spans.cpp - union, difference and normalisation of clipped span sets.
#include "spans.h"

#include <algorithm>

namespace standin::gdi::raster {

void SpanSet::AddSpan(int64_t y, int64_t x0, int64_t x1)
{
    if (full_ || y < clip_.top || y >= clip_.bottom) return;
    x0 = std::max(x0, clip_.left);
    x1 = std::min(x1, clip_.right);
    if (x0 >= x1) return;
    Span s{static_cast<int32_t>(y), static_cast<int32_t>(x0), static_cast<int32_t>(x1)};
    if (normalized_ && !spans_.empty()) {
        const Span &last = spans_.back();
        if (last.y > s.y || (last.y == s.y && last.x1 >= s.x0)) normalized_ = false;
    }
    spans_.push_back(s);
    if (spans_.size() >= compactAt_) {
        Normalize();
        compactAt_ = std::max(kFirstCompaction, 2 * spans_.size());
    }
}

void SpanSet::AddBox(const Box &b)
{
    Box c = b.Intersect(clip_);
    if (c.Empty() || full_) return;
    for (int64_t y = c.top; y < c.bottom; ++y) AddSpan(y, c.left, c.right);
    if (c.left == clip_.left && c.top == clip_.top && c.right == clip_.right && c.bottom == clip_.bottom)
        full_ = true;
}

void SpanSet::Add(const SpanSet &other)
{
    for (const Span &s : other.spans_) AddSpan(s.y, s.x0, s.x1);
}

void SpanSet::Normalize()
{
    if (normalized_) return;
    std::sort(spans_.begin(), spans_.end(), [](const Span &a, const Span &b) {
        return a.y != b.y ? a.y < b.y : a.x0 < b.x0;
    });
    size_t out = 0;
    for (size_t i = 0; i < spans_.size(); ++i) {
        const Span &s = spans_[i];
        if (out > 0 && spans_[out - 1].y == s.y && spans_[out - 1].x1 >= s.x0) {
            spans_[out - 1].x1 = std::max(spans_[out - 1].x1, s.x1);
        } else {
            spans_[out++] = s;
        }
    }
    spans_.resize(out);
    normalized_ = true;
    // One span a row, each as wide as the clip box: then every row has one, as a
    // normalized set holds at most one span covering a given pixel.
    const int64_t rows = clip_.bottom - clip_.top;
    full_ = rows > 0 && static_cast<int64_t>(spans_.size()) == rows &&
            std::all_of(spans_.begin(), spans_.end(),
                        [&](const Span &s) { return s.x0 == clip_.left && s.x1 == clip_.right; });
}

void SpanSet::Subtract(const SpanSet &otherIn)
{
    Normalize();
    SpanSet other = otherIn;
    other.Normalize();
    std::vector<Span> result;
    result.reserve(spans_.size());
    size_t j = 0;
    for (const Span &s : spans_) {
        while (j < other.spans_.size() &&
               (other.spans_[j].y < s.y || (other.spans_[j].y == s.y && other.spans_[j].x1 <= s.x0)))
            ++j;
        int32_t x = s.x0;
        size_t k = j;
        while (k < other.spans_.size() && other.spans_[k].y == s.y && other.spans_[k].x0 < s.x1) {
            const Span &o = other.spans_[k];
            if (o.x0 > x) result.push_back({s.y, x, o.x0});
            x = std::max(x, o.x1);
            ++k;
        }
        if (x < s.x1) result.push_back({s.y, x, s.x1});
    }
    spans_ = std::move(result);
    full_ = false;
}

void SpanSet::Offset(int64_t dx, int64_t dy)
{
    std::vector<Span> old = std::move(spans_);
    spans_.clear();
    normalized_ = true;
    full_ = false;
    for (const Span &s : old) AddSpan(s.y + dy, s.x0 + dx, s.x1 + dx);
}

bool SpanSet::Contains(int64_t x, int64_t y)
{
    Normalize();
    auto it = std::lower_bound(spans_.begin(), spans_.end(), y,
                               [](const Span &s, int64_t row) { return s.y < row; });
    for (; it != spans_.end() && it->y == y; ++it)
        if (x >= it->x0 && x < it->x1) return true;
    return false;
}

} // namespace standin::gdi::raster
