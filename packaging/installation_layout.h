// The layout of the installation data (installation_data.h), defined once for
// the encoder and the decoder: the header, the three texts that follow it,
// and the sections of entries. An entry is a fixed head whose last field is
// the length of the data that follows it. Numbers are little-endian on the
// handheld and on the desktop alike, so the heads are copied as they are.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "package.h"

enum Section { kStrings, kFolders, kFiles, kKeys, kValues, kLinks, kSectionCount };
const wchar_t* const kSectionNames[kSectionCount] = {
    L"string", L"folder", L"file", L"registry key", L"registry value", L"shortcut"};

struct InstallationHeader {
    char signature[4];  // "MSCE"
    DWORD unknown1;     // 0
    DWORD length;       // of the whole data
    DWORD unknown2;     // 0
    DWORD unknown3;     // 1
    DWORD processorType;
    DWORD versionMinMajor, versionMinMinor, versionMaxMajor, versionMaxMinor;
    DWORD buildMin, buildMax;
    WORD count[kSectionCount];
    DWORD offset[kSectionCount];
    WORD appNameOffset, appNameLength;
    WORD providerOffset, providerLength;
    WORD unsupportedOffset, unsupportedLength;
    WORD unknown4, unknown5;  // 0
};
static_assert(sizeof(InstallationHeader) == 100, "the header is 100 bytes");
static_assert(offsetof(InstallationHeader, count) == 0x30 &&
                  offsetof(InstallationHeader, offset) == 0x3C &&
                  offsetof(InstallationHeader, appNameOffset) == 0x54,
              "the sections' counts, their offsets and the texts' places");

const char kSignature[4] = {'M', 'S', 'C', 'E'};

// The header's fields that say where the product runs, with the package's.
const struct {
    DWORD InstallationHeader::*header;
    DWORD Package::*package;
} kTargetFields[] = {
    {&InstallationHeader::processorType, &Package::processorType},
    {&InstallationHeader::versionMinMajor, &Package::versionMinMajor},
    {&InstallationHeader::versionMinMinor, &Package::versionMinMinor},
    {&InstallationHeader::versionMaxMajor, &Package::versionMaxMajor},
    {&InstallationHeader::versionMaxMinor, &Package::versionMaxMinor},
    {&InstallationHeader::buildMin, &Package::buildMin},
    {&InstallationHeader::buildMax, &Package::buildMax},
};

// The texts right after the header, one after another in this order: the
// application's name and its provider, each with its 0 (which newer wizards
// pad with more zeros to a multiple of 4, the length counting them), then the
// unsupported platforms, each name with its 0, which newer wizards end with
// an empty name.
enum HeaderText { kAppName, kProvider, kPlatforms, kHeaderTextCount };
const struct {
    WORD InstallationHeader::*offset;
    WORD InstallationHeader::*length;
} kHeaderTexts[kHeaderTextCount] = {
    {&InstallationHeader::appNameOffset, &InstallationHeader::appNameLength},
    {&InstallationHeader::providerOffset, &InstallationHeader::providerLength},
    {&InstallationHeader::unsupportedOffset, &InstallationHeader::unsupportedLength},
};

// The heads of the sections' entries. Each section's entries are numbered
// from 1 and refer to one another by number, in any order; a path list is
// string numbers ending in 0. A string may hold backslashes
// ("%CE1%\Games", "\Program Files").
#pragma pack(push, 1)
struct StringHead {  // then the text with its 0, padded or not
    WORD number;
    WORD length;
};
struct FolderHead {  // then the folder's path list
    WORD number;
    WORD length;
};
struct FileHead {     // then the installed name with its 0, padded or not
    WORD number;      // the member's .NNN
    WORD folder;      // its number
    WORD sameNumber;  // the file's number again (its place in the description)
    DWORD flags;      // copy flags
    WORD length;
};
struct KeyHead {  // then the key's path list
    WORD number;
    WORD root;    // RegistryRoot::code
    WORD unused;  // 0
    WORD length;
};
struct ValueHead {  // then the name with its 0, and the text with its 0 or the number
    WORD number;
    WORD key;         // its number
    WORD substitute;  // 1 when the text holds kInstallDirWord, else 0
    DWORD type;       // kTextValueType or kNumberValueType
    WORD length;
};
// Then the number of ONE string, the shortcut's file name with ".lnk", and no
// 0. Cabinets that this project made before wrote a path list ending in 0
// instead, its last string the name without ".lnk".
struct LinkHead {
    WORD number;
    WORD unused;  // 0
    WORD folder;  // the standard folder's n, or 0 for the installation folder
    WORD target;  // the file's number
    WORD type;    // kLinkToFile
    WORD length;
};
#pragma pack(pop)
static_assert(sizeof(StringHead) == 4 && sizeof(FolderHead) == 4 && sizeof(FileHead) == 12 &&
                  offsetof(FileHead, flags) == 6 && sizeof(KeyHead) == 8 &&
                  sizeof(ValueHead) == 12 && offsetof(ValueHead, type) == 6 &&
                  sizeof(LinkHead) == 12,
              "the entries' heads as the handheld's installer reads them");

const WORD kLinkToFile = 1;

// An entry: its head with the data's length, then the data.
template <typename Head>
void AppendEntry(std::string* out, Head head, const std::string& data)
{
    head.length = static_cast<WORD>(data.size());
    out->append(reinterpret_cast<const char*>(&head), sizeof(head));
    *out += data;
}

// Reads one part of the data; what would run past its end is not read.
class PartReader {
public:
    PartReader(const std::string& bytes, size_t begin, size_t end);

    size_t At() const { return at_; }
    bool Bytes(size_t length, std::string* bytes);

    template <typename Head>
    bool Entry(Head* head, std::string* data)
    {
        std::string fixed;
        if (!Bytes(sizeof(Head), &fixed)) {
            return false;
        }
        std::memcpy(head, fixed.data(), sizeof(Head));
        return Bytes(head->length, data);
    }

private:
    const std::string& bytes_;
    size_t at_;
    size_t end_;
};

// Texts: ASCII, with a 0 after each. False when the text is not ASCII.
bool ToAscii(const std::wstring& text, std::string* ascii);
// Each byte as the character of its number, never widened with its sign.
std::wstring Wide(const std::string& ascii);
// The text of ASCII bytes up to their first 0 (what follows it is padding);
// why they are not such text, or null.
const wchar_t* ReadText(const std::string& bytes, std::wstring* text);

// The unsupported platforms: their names, each with its 0. The first name that
// is not ASCII, or null.
const std::wstring* PlatformBytes(const std::vector<std::wstring>& names, std::string* bytes);
// The names; why the bytes are not printable names each with its 0, the last
// perhaps followed by an empty name, or null.
const wchar_t* ReadPlatforms(const std::string& bytes, std::vector<std::wstring>* names);

// Path lists: the string numbers and their 0.
std::string PathListBytes(const std::vector<WORD>& ids);
// The string numbers of a path list, without its 0; why it is none, or null.
const wchar_t* ReadPathList(const std::string& bytes, std::vector<WORD>* ids);
// The string number of a shortcut's name (two bytes); why it is none, or null.
const wchar_t* ReadLinkName(const std::string& bytes, WORD* id);
