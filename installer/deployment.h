// Putting the client onto the chosen drive: the install folder, the archive and the uninstaller.
#pragma once

#include "blocks.h"

#include <string>

// Removes the recorded installation's folder when the chosen drive already has an install
// folder (file or folder), then creates the install folder when it is missing, with one retry.
void PrepareInstallFolder(const std::string& installDrive, const std::string& recordedDrive);

struct DeployOutcome {
    bool archiveWritten = false;
    int extractResult = 0; // as ExtractArchive gives it
};

// Writes the archive block to the archive file, then, whatever that gave, extracts that file
// into the install folder. The archive file stays.
DeployOutcome DeployClientArchive(const std::string& installDrive);

// Writes the uninstaller block as the install folder's uninstaller; the result is not needed.
void WriteUninstaller(const std::string& installDrive);

// Creates or truncates the file, without sharing, and writes the block's bytes in one piece.
// True only when opening, writing and closing all succeeded; an empty path gives false. After
// a failed write the file may hold part of the data.
bool WriteBlockToFile(const std::string& path, BlockView block);
