// ZarboPDFMon.dll: the PDF printer's port monitor. Its one port, "ZarboPDF:", hands every
// finished job to PDFRelay, which asks the user where the PDF goes, and then writes the
// spool file there or drops it.

#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "pdfprinter/RelayProtocol.h"
#include "platform/AtomicFile.h"
#include "platform/PrintAdmin.h"
#include "platform/PrintComponents.h"

namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(200);

long CopyPortName(char* out, size_t bytes) {
  const size_t need = std::strlen(pdfprinter::kPortName) + 1;
  if (!out || bytes < need) return platform::print::kErrorInvalidParameter;
  std::memcpy(out, pdfprinter::kPortName, need);
  return platform::print::kErrorSuccess;
}

}  // namespace

extern "C" {

// The port needs no settings, so it is created without asking, window or not.
__attribute__((visibility("default"))) long ZpMonitorAddPort(void* /*window*/, char* portName,
                                                             size_t portNameBytes) {
  return CopyPortName(portName, portNameBytes);
}

__attribute__((visibility("default"))) long ZpMonitorDeletePort(const char* portName) {
  if (!portName || std::strcmp(portName, pdfprinter::kPortName) != 0) {
    return platform::print::kErrorInvalidParameter;
  }
  return platform::print::kErrorSuccess;
}

// Sends one job; everything that can fail inside (memory, files) fails the job, never the
// job process.
static long PrintJob(const ZpJobInfo* job) {
  using namespace pdfprinter;
  if (!job || !job->spoolFile) return platform::print::kErrorInvalidParameter;
  const auto relay = FindRelay(job->clientDir ? job->clientDir : "");
  if (!relay) {
    std::fprintf(stderr, "ZarboPDF: PDFRelay was not found; job %u is dropped\n", job->jobId);
    return platform::print::kErrorFileNotFound;
  }
  RelayRequest request;
  request.ini = SharedIni();
  request.section = SectionFor(job->userName ? job->userName : "");
  request.jobKey = FreshJobKey(request.ini, request.section, job->jobId);
  request.proposedName = ProposedName(job->title ? job->title : "");
  const auto answer = AskRelay(*relay, request, kPollInterval);
  if (!answer) return platform::print::kErrorFileNotFound;
  ForgetJob(request);
  if (answer->canceled || answer->pathName.empty()) return platform::print::kErrorSuccess;

  const auto bytes = platform::file::ReadAll(job->spoolFile);
  if (!bytes || !platform::file::WriteAtomically(answer->pathName, *bytes)) {
    std::fprintf(stderr, "ZarboPDF: the PDF could not be written to %s\n",
                 answer->pathName.c_str());
    return platform::print::kErrorAccessDenied;
  }
  return platform::print::kErrorSuccess;
}

__attribute__((visibility("default"))) long ZpMonitorPrintJob(const ZpJobInfo* job) {
  try {
    return PrintJob(job);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "ZarboPDF: job dropped: %s\n", e.what());
    return 8;  // not enough memory, or what the library reported
  }
}

}  // extern "C"
