#include "installation_layout.h"

#include <algorithm>

#include "handheld_names.h"

PartReader::PartReader(const std::string& bytes, size_t begin, size_t end)
    : bytes_(bytes), at_(begin), end_(std::min(end, bytes.size()))
{
}

bool PartReader::Bytes(size_t length, std::string* bytes)
{
    if (at_ > end_ || length > end_ - at_) {
        return false;
    }
    *bytes = bytes_.substr(at_, length);
    at_ += length;
    return true;
}

bool ToAscii(const std::wstring& text, std::string* ascii)
{
    ascii->clear();
    for (wchar_t c : text) {
        if (c == 0 || c > 0x7F) {
            return false;
        }
        ascii->push_back(static_cast<char>(c));
    }
    return true;
}

std::wstring Wide(const std::string& ascii)
{
    std::wstring wide;
    for (char c : ascii) {
        wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    }
    return wide;
}

const wchar_t* ReadText(const std::string& bytes, std::wstring* text)
{
    size_t end = bytes.find('\0');
    if (end == std::string::npos) {
        return L"holds text that does not end in its 0";
    }
    for (size_t i = 0; i < end; ++i) {
        if (static_cast<unsigned char>(bytes[i]) > 0x7F) {
            return L"holds text that is not ASCII";
        }
    }
    *text = Wide(bytes.substr(0, end));
    return nullptr;
}

const std::wstring* PlatformBytes(const std::vector<std::wstring>& names, std::string* bytes)
{
    for (const std::wstring& name : names) {
        std::string ascii;
        if (!ToAscii(name, &ascii)) {
            return &name;
        }
        *bytes += ascii + '\0';
    }
    return nullptr;
}

const wchar_t* ReadPlatforms(const std::string& bytes, std::vector<std::wstring>* names)
{
    for (size_t start = 0; start < bytes.size();) {
        size_t end = bytes.find('\0', start);
        if (end == start && end + 1 == bytes.size()) {
            break;  // the empty name that ends the list
        }
        std::wstring name = Wide(bytes.substr(start, end - start));
        if (end == std::string::npos || end == start ||
            !std::all_of(name.begin(), name.end(), Printable)) {
            return L"are not printable names each ending in its 0";
        }
        names->push_back(name);
        start = end + 1;
    }
    return nullptr;
}

std::string PathListBytes(const std::vector<WORD>& ids)
{
    std::vector<WORD> list = ids;
    list.push_back(0);
    return std::string(reinterpret_cast<const char*>(list.data()), list.size() * sizeof(WORD));
}

const wchar_t* ReadPathList(const std::string& bytes, std::vector<WORD>* ids)
{
    ids->assign(bytes.size() / sizeof(WORD), 0);
    std::memcpy(ids->data(), bytes.data(), ids->size() * sizeof(WORD));
    auto zero = std::find(ids->begin(), ids->end(), WORD(0));
    if (bytes.size() % sizeof(WORD) || zero == ids->end() || zero + 1 != ids->end()) {
        return L"holds a path list that does not end in its 0";
    }
    ids->pop_back();
    return nullptr;
}

const wchar_t* ReadLinkName(const std::string& bytes, WORD* id)
{
    if (bytes.size() != sizeof(WORD)) {
        return L"holds no one string number";
    }
    std::memcpy(id, bytes.data(), sizeof(WORD));
    return *id ? nullptr : L"names the string 0";
}
