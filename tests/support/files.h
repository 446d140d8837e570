// files.h - scratch folders and whole files for the test suites.
#ifndef QG_TESTS_SUPPORT_FILES_H
#define QG_TESTS_SUPPORT_FILES_H

#include <cstdint>
#include <string>
#include <vector>

// A folder of its own for one test's files; removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;
    std::string Write(const std::string &name, const std::vector<uint8_t> &bytes) const;
    std::string Path(const std::string &name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

std::string ReadFile(const std::string &path);

#endif // QG_TESTS_SUPPORT_FILES_H
