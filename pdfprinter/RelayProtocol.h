#pragma once

// How the port monitor asks PDFRelay where a finished job goes, through the shared INI file.

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

namespace pdfprinter {

inline constexpr const char* kPortName = "ZarboPDF:";
inline constexpr const char* kMonitorKeyIniValue = "IniFile";
inline constexpr const char* kIniFileName = "ZarboPDF.ini";

// The fields PDFRelay gets after "/? ".
struct RelayRequest {
  std::string section;
  std::string jobKey;
  std::filesystem::path ini;
  std::string proposedName;
};

// The answer read back once "<job>_RequestWritePrivateProfile" is "1".
struct RelayAnswer {
  bool canceled = true;
  std::string pathName;
};

// Section for a user: the login name cut to 103 bytes, "ZarboPDF" when there is none.
std::string SectionFor(const std::string& user);
// The proposed file name: the title with characters a file name cannot hold replaced and
// ".pdf" added, at most 255 bytes; "Document.pdf" for an empty title.
std::string ProposedName(const std::string& title);
// "Job<id>", or "Job<id>_<n>" when that key already holds an answer in the INI.
std::string FreshJobKey(const std::filesystem::path& ini, const std::string& section,
                        std::uint32_t jobId);
// The relay's command line tail: "/? " and the four fields separated by line feeds.
std::string RelayArgument(const RelayRequest& request);
// The INI the monitor shares with PDFRelay: the one the installer recorded with the
// monitor, else one in the user's settings folder.
std::filesystem::path SharedIni();
// PDFRelay: $CLIPWREN_PDFRELAY, beside the printing program, in the build's PDFRelay
// folder next to it, then in PATH.
std::optional<std::filesystem::path> FindRelay(const std::string& clientDir);

// Starts the relay and waits for its answer, polling the INI every pollInterval. When the
// relay ends without answering, the job counts as cancelled. nullopt when it cannot start.
std::optional<RelayAnswer> AskRelay(const std::filesystem::path& relay,
                                    const RelayRequest& request,
                                    std::chrono::milliseconds pollInterval);
// Removes the job's keys from the INI once they have been read.
void ForgetJob(const RelayRequest& request);

}  // namespace pdfprinter
