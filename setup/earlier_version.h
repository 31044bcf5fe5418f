#pragma once

// Deletes the registry record that the platform's installer kept for the
// lowest earlier version from 1.00 to 3.00 found below HKEY_LOCAL_MACHINE
// "Software\Apps", with its whole key tree. Higher versions stay; with none
// found the registry is left as it is.
void RemoveEarlierVersionRecord();
