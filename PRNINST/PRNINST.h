#pragma once

// The printer setup library's exports, as the product's installer finds them by name.

#include <stdint.h>

extern "C" {

// Result codes of InstallDrivers: the failed step in the low 16 bits, the host error of that
// step in the high 16 bits.
#define PRNINST_MONITOR_FOLDER 0x100
#define PRNINST_DRIVER_FOLDER 0x200
#define PRNINST_ADD_MONITOR 0x400
#define PRNINST_ADD_PORT 0x800
#define PRNINST_ADD_DRIVER 0x1000
#define PRNINST_ADD_PRINTER 0x2000
#define PRNINST_SHARED_FILE 0x4000

// Bits of UnInstallDrivers, with the host errors or-ed into the high 16 bits.
#define PRNINST_DELETE_PRINTER 1
#define PRNINST_OPEN_PRINTER 2
#define PRNINST_DELETE_DRIVER 4
#define PRNINST_DELETE_PORT 8
#define PRNINST_DELETE_MONITOR 16

uint32_t InstallDrivers(const char* folder);
uint32_t UnInstallDrivers(const char* folder);
int IsExistPrinter(void);
void RestartSpooler(void);
int ManualUninstall(void);
int IsWow64(void);
int GetTargetPathFromCmdLine(char* output);

typedef uint32_t (*InstallDriversFn)(const char*);
typedef uint32_t (*UnInstallDriversFn)(const char*);
typedef int (*IsExistPrinterFn)(void);
typedef void (*RestartSpoolerFn)(void);
typedef int (*ManualUninstallFn)(void);
typedef int (*IsWow64Fn)(void);
typedef int (*GetTargetPathFromCmdLineFn)(char*);

}  // extern "C"
