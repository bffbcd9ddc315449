#include "dxf/drawingfile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <system_error>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace dxf {

namespace {

std::string shown(const std::filesystem::path &path)
{
    const std::u8string s = path.u8string();
    return "\"" + std::string(s.begin(), s.end()) + "\"";
}

}  // namespace

std::string readFile(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw Error(shown(path) + " を開けません: " + std::strerror(errno));
    std::string bytes;
    in.seekg(0, std::ios::end);
    const auto size = in.tellg();
    if (size > 0) {
        bytes.resize(std::size_t(size));
        in.seekg(0);
        in.read(bytes.data(), std::streamsize(bytes.size()));
    }
    if (in.bad() || (size > 0 && in.gcount() != std::streamsize(bytes.size())))
        throw Error(shown(path) + " を読めません");
    return bytes;
}

void writeFileAtomically(const std::filesystem::path &path, std::string_view bytes)
{
    const std::filesystem::path dir = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    std::filesystem::path temp;
    std::FILE *f = nullptr;
    for (int attempt = 0; attempt < 100 && !f; ++attempt) {
        temp = dir / ("." + path.filename().string() + ".tmp" + std::to_string(attempt));
#ifdef _WIN32
        // Not every Windows C library knows "x"; a name in use is skipped.
        std::error_code exists;
        if (std::filesystem::exists(temp, exists)) {
            errno = EEXIST;
            continue;
        }
        f = _wfopen(temp.c_str(), L"wb");
#else
        f = std::fopen(temp.c_str(), "wbx");
#endif
        if (!f && errno != EEXIST)
            break;
    }
    if (!f)
        throw Error(shown(path) + " に保存できません: " + std::strerror(errno));
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fflush(f) == 0 && ok;
#ifndef _WIN32
    ok = ok && ::fsync(fileno(f)) == 0;
#endif
    const int err = errno;
    ok = std::fclose(f) == 0 && ok;
    std::error_code ec;
    if (ok) {
        // The new file keeps the old one's permissions.
        const auto status = std::filesystem::status(path, ec);
        if (!ec && std::filesystem::exists(status))
            std::filesystem::permissions(temp, status.permissions(), ec);
        ec.clear();
#ifdef _WIN32
        ok = MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
        std::filesystem::rename(temp, path, ec);
        ok = !ec;
#endif
    }
    if (!ok) {
        std::filesystem::remove(temp, ec);
        throw Error(shown(path) + " に保存できません: " + std::strerror(err ? err : EIO));
    }
}

}  // namespace dxf
