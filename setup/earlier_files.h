#pragma once

// Deletes the Start-menu shortcuts of an earlier installation in every
// supported Start-menu language. Paths that are not there are skipped.
void DeleteShortcuts();

// Deletes the program files of an earlier installation, the settings file
// first. Files that are not there or cannot be deleted are skipped.
void DeleteProgramFiles();
