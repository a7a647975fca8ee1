#include "platform/win32/win32_files.h"

#include "platform/win32/win32_code_page.h"

#include <algorithm>

namespace zk {

namespace {

// Larger files are not ours; reading them would only exhaust memory.
constexpr LONGLONG kMaxFileSize = 256LL << 20;
constexpr DWORD kChunk = 1u << 20;
constexpr int kMoveAttempts = 5;
constexpr DWORD kMoveRetryMs = 50;

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (valid()) CloseHandle(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    bool close() {
        const bool ok = CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE handle_;
};

bool writeAll(HANDLE file, std::string_view data) {
    while (!data.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size(), kChunk));
        DWORD written = 0;
        if (!WriteFile(file, data.data(), chunk, &written, nullptr) || written == 0) return false;
        data.remove_prefix(written);
    }
    return true;
}

// The folder part of a path with its trailing separator, "." for a bare file name.
std::string folderOf(const std::string& path) {
    const auto separator = path.find_last_of("\\/");
    return separator == std::string::npos ? std::string(".") : path.substr(0, separator + 1);
}

} // namespace

std::string Win32Files::programPath() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path;
}

std::string Win32Files::programFolder() {
    std::string path = programPath();
    const auto separator = path.find_last_of('\\');
    if (separator == std::string::npos) return path;
    std::string folder = path.substr(0, separator);
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    return folder;
}

Files::ReadResult Win32Files::readAll(const std::string& path) {
    Handle file(CreateFileA(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        const DWORD error = GetLastError();
        const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return {missing ? ReadStatus::NotFound : ReadStatus::Failed, {}};
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > kMaxFileSize)
        return {ReadStatus::Failed, {}};

    ReadResult result{ReadStatus::Ok, {}};
    result.data.reserve(static_cast<std::size_t>(size.QuadPart));
    std::string chunk(kChunk, '\0');
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.get(), chunk.data(), kChunk, &read, nullptr))
            return {ReadStatus::Failed, {}};
        if (read == 0) break;
        if (result.data.size() + read > static_cast<std::size_t>(kMaxFileSize))
            return {ReadStatus::Failed, {}};
        result.data.append(chunk.data(), read);
    }
    return result;
}

std::optional<Files::Stamp> Win32Files::stamp(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    auto wide = [](DWORD high, DWORD low) { return (std::uint64_t{high} << 32) | low; };
    return Stamp{wide(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime),
                 wide(data.nFileSizeHigh, data.nFileSizeLow)};
}

bool Win32Files::replaceAll(const std::string& path, std::string_view data) {
    // A read-only file is not replaced: Windows refuses the move onto it, Wine does not.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return false;

    char temporary[MAX_PATH];
    if (!GetTempFileNameA(folderOf(path).c_str(), "zk", 0, temporary)) return false;

    Handle file(CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    const bool written =
        file.valid() && writeAll(file.get(), data) && FlushFileBuffers(file.get()) && file.close();
    // A virus scanner or an indexer may hold the file for a moment: the move is tried again.
    bool moved = false;
    for (int attempt = 0; written && !moved && attempt < kMoveAttempts; ++attempt) {
        if (attempt > 0) Sleep(kMoveRetryMs);
        moved = MoveFileExA(temporary, path.c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    }
    if (!moved) {
        if (file.valid()) file.close();
        DeleteFileA(temporary);
        return false;
    }
    return true;
}

bool Win32Files::append(const std::string& path, std::string_view data) {
    Handle file(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.valid() && writeAll(file.get(), data) && file.close();
}

bool Win32Files::truncate(const std::string& path, std::size_t size) {
    Handle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER length{};
    if (!file.valid() || !GetFileSizeEx(file.get(), &length)) return false;
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(size);
    if (length.QuadPart <= end.QuadPart) return true;
    return SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.get()) &&
           file.close();
}

bool Win32Files::rename(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

std::optional<std::string> Win32Files::ansiFromUtf8(std::string_view utf8) {
    const std::optional<std::wstring> wide = widen(utf8, CP_UTF8);
    return wide ? narrow(*wide, CP_ACP, true) : std::nullopt;
}

std::string Win32Files::utf8FromAnsi(std::string_view ansi) {
    const std::optional<std::wstring> wide = widen(ansi, CP_ACP);
    return wide ? narrow(*wide, CP_UTF8, false).value_or("") : std::string{};
}

} // namespace zk
