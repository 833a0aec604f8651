#include "platform/ErrorText.h"

#include <cstdio>

namespace platform {

std::string ErrorText(long code) {
  switch (code) {
    case 0: return "The operation completed successfully.";
    case 2: return "The system cannot find the file specified.";
    case 3: return "The system cannot find the path specified.";
    case 5: return "Access is denied.";
    case 31: return "A device attached to the system is not functioning.";
    case 50: return "The request is not supported.";
    case 87: return "The parameter is incorrect.";
    case 112: return "There is not enough space on the disk.";
    case 113: return "The source and destination are the same file.";
    case 118: return "The destination folder is a subfolder of the source folder.";
    case 123: return "The filename, directory name, or volume label syntax is incorrect.";
    case 183: return "Cannot create a file when that file already exists.";
    case 206: return "The filename or extension is too long.";
    case 234: return "More data is available.";
    case 259: return "No more data is available.";
    case 267: return "The directory name is invalid.";
    case 1223: return "The operation was canceled by the user.";
    case 1797: return "The printer driver is unknown.";
    case 1801: return "The printer name is invalid.";
    case 1802: return "The printer already exists.";
    case 3000: return "The specified print monitor is unknown.";
    case 3006: return "The specified print monitor has already been installed.";
    default: {
      char text[64];
      std::snprintf(text, sizeof text, "Unknown error (%ld).", code);
      return text;
    }
  }
}

}  // namespace platform
