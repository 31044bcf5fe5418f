// The rules that the decoder holds the installation data's names and paths
// to, apart from its layout. Each gives the one line that says what is wrong,
// or nothing when the name or path is sound.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

// The text in quotes, fit for one line: what would not print is a '?'.
std::wstring Quoted(std::wstring text);

// When the name is no plain name (NameProblem): `what "name" why`.
std::wstring PlainNameProblem(const std::wstring& what, const std::wstring& name);

// When a handheld path is not shorter than MAX_PATH with its terminating zero.
std::wstring LongPathProblem(const std::wstring& item, const std::wstring& path);

// The path that a list of string numbers names, the strings joined with
// backslashes: every part between backslashes a plain name but the start of a
// folder (`inFolder`), which is a standard folder such as %CE2% or the
// handheld's root (a string "\Program Files"); or what is wrong with it.
std::wstring PathProblem(const std::wstring& item, const std::vector<WORD>& ids,
                         const std::map<WORD, std::wstring>& strings, bool inFolder,
                         std::wstring* path);
