// The spooler's job process: runs one finished job through its port monitor and removes
// the job's files. Started by the print system at the end of every job; it detaches at
// once, so the printing program never waits for the port (which may wait for the user).

#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/PrintAdmin.h"
#include "platform/PrintComponents.h"
#include "platform/PrintSystemInternal.h"
#include "platform/Registry.h"

namespace {

using namespace platform::print;
using namespace platform::print::detail;

long RunJob(const JobRecord& job) {
  platform::Registry machine(platform::Hive::LocalMachine);
  const std::string monitor = MonitorOfPort(machine, job.port);
  const auto dll = monitor.empty() ? std::nullopt : machine.GetString(MonitorKey(monitor), "Driver");
  const auto file = dll ? FindMonitorFile(*dll) : std::nullopt;
  const auto lib = file ? Library::Load(*file) : nullptr;
  const auto fn = lib ? lib->Get<ZpMonitorPrintJobFn>(ZP_MONITOR_PRINT_JOB) : nullptr;
  if (!fn) return kErrorUnknownPort;
  const std::string spool = job.spoolFile.string();
  ZpJobInfo info{job.id,           job.printer.c_str(), job.port.c_str(),     job.title.c_str(),
                 spool.c_str(),    job.user.c_str(),    job.clientDir.c_str()};
  return fn(&info);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || std::strcmp(argv[1], "--job") != 0) {
    std::fprintf(stderr, "usage: spoolsv --job <job record>\n");
    return 2;
  }
  const auto job = ReadJobRecord(argv[2]);
  if (!job) return 2;
  const pid_t pid = fork();
  if (pid < 0) return 1;
  if (pid > 0) return 0;  // the printing program gets its answer now
  setsid();
  // Detached from the printing program: its terminal or pipes are not held open while the
  // port waits for the user. What the port reports goes to the spool folder's log.
  const int null = open("/dev/null", O_RDWR | O_CLOEXEC);
  RotateSpoolLog();
  const int log = open(SpoolLogPath().c_str(),
                       O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (null >= 0) {
    dup2(null, STDIN_FILENO);
    dup2(null, STDOUT_FILENO);
    dup2(log >= 0 ? log : null, STDERR_FILENO);
  }
  const long rc = RunJob(*job);
  RemoveJob(job->id);
  return rc == kErrorSuccess ? 0 : 1;
}
