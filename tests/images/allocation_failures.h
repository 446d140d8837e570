// allocation_failures.h - makes the library's allocations fail on demand. The library takes
// its buffers with nothrow new; this test program replaces those two operators.
#ifndef QG_TESTS_IMAGES_ALLOCATION_FAILURES_H
#define QG_TESTS_IMAGES_ALLOCATION_FAILURES_H

#include <cstddef>
#include <vector>

namespace allocations {

// From now on: the nth nothrow allocation (1 = the next one) fails, and so does every one
// larger than limit bytes. Sizes asked for are recorded until Stop.
void Start(int failNth = 0, std::size_t limit = ~std::size_t{0});
// Ends the failures and returns the sizes asked for since Start.
std::vector<std::size_t> Stop();

} // namespace allocations

#endif // QG_TESTS_IMAGES_ALLOCATION_FAILURES_H
