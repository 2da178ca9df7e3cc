// Putting the client onto the chosen drive: the install folder, the archive and the uninstaller.
#include "deployment.h"

#include "archive_extraction.h"
#include "folder_tree.h"
#include "install_paths.h"
#include "owners.h"

namespace {

// The close is checked too: a network drive may report a failed write only then.
bool CloseReportingFailure(UniqueFileHandle& file)
{
    return CloseHandle(file.Detach()) != FALSE;
}

} // namespace

void PrepareInstallFolder(const std::string& installDrive, const std::string& recordedDrive)
{
    const std::string installFolder = InstallPathsFor(installDrive).installFolder;
    if (PathExists(installFolder))
        RemoveFolderTree(PreviousInstallFolderFor(recordedDrive));
    for (int attempt = 0; attempt < 2 && !PathExists(installFolder); ++attempt)
        CreateDirectoryA(installFolder.c_str(), nullptr);
}

DeployOutcome DeployClientArchive(const std::string& installDrive)
{
    const InstallPaths paths = InstallPathsFor(installDrive);
    DeployOutcome outcome;
    outcome.archiveWritten = WriteBlockToFile(paths.archiveFile, ClientArchiveBlock());
    outcome.extractResult = ExtractArchive(paths.archiveFile, paths.installFolder);
    return outcome;
}

void WriteUninstaller(const std::string& installDrive)
{
    WriteBlockToFile(InstallPathsFor(installDrive).uninstallerFile, UninstallerBlock());
}

bool WriteBlockToFile(const std::string& path, BlockView block)
{
    if (path.empty())
        return false;
    UniqueFileHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    bool written = true;
    if (block.size > 0) {
        DWORD count = 0;
        written = WriteFile(file.Get(), block.data, static_cast<DWORD>(block.size), &count, nullptr)
            && count == block.size;
    }
    return CloseReportingFailure(file) && written;
}
