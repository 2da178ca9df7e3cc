// Unpacking a ZIP archive file into a folder, entry by entry in central-directory order.
#pragma once

#include <string>

// 1 when every entry was extracted; -1 when a path is empty or the archive file does not exist;
// 0 for any other failure: the target folder cannot be created, the file does not begin with a
// local file header, the archive cannot be read, an entry's name would leave the target folder
// (checked for every entry before anything is written), an entry's data fail their CRC or size,
// or a file cannot be created or written. Entries extracted before a failure stay in place; the
// file that failed is deleted again. Extracted files keep the entry's time stamp and end up with
// FILE_ATTRIBUTE_NORMAL; an existing read-only file is replaced.
int ExtractArchive(const std::string& archivePath, const std::string& targetFolder);
