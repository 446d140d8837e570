// files.cpp - scratch folders and whole files.
#include "files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

ScratchFolder::ScratchFolder()
{
    std::string pattern = testing::TempDir() + "qg-test-XXXXXX";
    if (!mkdtemp(pattern.data()))
        ADD_FAILURE() << "cannot make a scratch folder from " << pattern;
    path_ = pattern;
    // A private scheduler's filters run as lp and must reach files inside.
    std::filesystem::permissions(path_, std::filesystem::perms(0755));
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string ScratchFolder::Write(const std::string &name, const std::vector<uint8_t> &bytes) const
{
    const std::string path = Path(name);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string ReadFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

