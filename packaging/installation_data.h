// The installation data of a package's cabinet, its member "NAME.000"
// (layout in installation_layout.h): a fixed header (processor, versions, the sections' places and
// sizes), the application's name, its provider and the unsupported platforms,
// then the sections of strings, folders, files, registry keys ("hives"),
// registry values and shortcuts, which refer to one another by number. Texts
// are ASCII; folders, keys and shortcut paths are lists of string numbers.
#pragma once

#include <string>

#include "package.h"

// Everything of the package but its source files and hook library. False,
// with the reason in *error, for what the format can't carry.
bool EncodeInstallationData(const Package& package, std::string* bytes, std::wstring* error);

// The package that the data describes; its files have no source yet. False,
// with what is wrong in one line in *error, for data that is damaged, that
// this installer doesn't understand or that would reach beyond its places:
// its parts must lie back to back as the encoder writes them, each section
// exactly filled by as many entries as the header gives it; every text ASCII
// ending in its 0, every path list in its 0; every name of a file, folder,
// registry key or value and shortcut a plain name (NameProblem) below a
// standard folder or registry root, and every handheld path shorter than
// MAX_PATH; the files numbered from 1 to kMostFiles, each once. These rules
// live here alone, for the installer and for the maker, which decodes what it
// encoded.
bool DecodeInstallationData(const std::string& bytes, Package* package, std::wstring* error);
