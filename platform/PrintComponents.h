#pragma once

// What the print system calls in the component files it loads by path: a printer driver
// (and its user-interface file) and a port monitor (and its user-interface file). Plain C,
// so a component is any shared object exporting these names.

#include <stddef.h>
#include <stdint.h>

typedef struct _cairo cairo_t;

extern "C" {

struct ZpDevMode {
  int32_t orientation;  // 1 portrait, 2 landscape
  int32_t paperSize;    // the host's paper numbers (9 = A4)
};

struct ZpPageGeometry {
  int32_t dpiX, dpiY;
  int32_t paperWidth, paperHeight;
  int32_t printableX, printableY, printableWidth, printableHeight;
  double paperWidthMm, paperHeightMm;
};

// ---- printer driver ----
// Fills the driver's default settings. Returns 1.
typedef int (*ZpDriverDefaultsFn)(struct ZpDevMode* mode);
// The page for these settings; 0 when the driver does not accept them.
typedef int (*ZpDriverGeometryFn)(const struct ZpDevMode* mode, struct ZpPageGeometry* page);
// Opens a document that renders into spoolFile; NULL when it cannot.
typedef void* (*ZpDriverStartDocFn)(const char* spoolFile, const char* title,
                                    const struct ZpDevMode* mode);
// The context for the next page, in device units; NULL on failure.
typedef cairo_t* (*ZpDriverStartPageFn)(void* doc);
typedef int (*ZpDriverEndPageFn)(void* doc);
// Finishes the file and frees doc. Returns 1 when the file is complete.
typedef int (*ZpDriverEndDocFn)(void* doc);
// Frees doc and removes what it wrote.
typedef void (*ZpDriverAbortDocFn)(void* doc);

#define ZP_DRIVER_DEFAULTS "ZpDriverDefaults"
#define ZP_DRIVER_GEOMETRY "ZpDriverGeometry"
#define ZP_DRIVER_START_DOC "ZpDriverStartDoc"
#define ZP_DRIVER_START_PAGE "ZpDriverStartPage"
#define ZP_DRIVER_END_PAGE "ZpDriverEndPage"
#define ZP_DRIVER_END_DOC "ZpDriverEndDoc"
#define ZP_DRIVER_ABORT_DOC "ZpDriverAbortDoc"

// ---- driver user interface ----
// Shows the printing preferences of printerName, starting from mode. Returns 1 when the
// user accepted (mode holds the new settings), 0 when cancelled, -1 when it cannot show.
typedef int (*ZpDocumentPropertiesFn)(const char* printerName, struct ZpDevMode* mode);
#define ZP_DOCUMENT_PROPERTIES "ZpDocumentProperties"

// ---- port monitor ----
// Names the port to add. window is the caller's window, NULL when there is none. Returns a
// host error number (0 = the port name is in portName).
typedef long (*ZpMonitorAddPortFn)(void* window, char* portName, size_t portNameBytes);
// Whether the monitor accepts deleting this port: a host error number.
typedef long (*ZpMonitorDeletePortFn)(const char* portName);

struct ZpJobInfo {
  uint32_t jobId;
  const char* printerName;
  const char* portName;
  const char* title;       // the document title given to StartDoc
  const char* spoolFile;   // the driver's output for this job
  const char* userName;    // the user who printed
  const char* clientDir;   // folder of the program that printed
};
// Sends a finished job through the port. Runs in the spooler's job process; may take as
// long as it needs. Returns a host error number.
typedef long (*ZpMonitorPrintJobFn)(const struct ZpJobInfo* job);

#define ZP_MONITOR_ADD_PORT "ZpMonitorAddPort"
#define ZP_MONITOR_DELETE_PORT "ZpMonitorDeletePort"
#define ZP_MONITOR_PRINT_JOB "ZpMonitorPrintJob"

// ---- port monitor user interface ----
// Asks the user for a port to add (window is not NULL). Same result as ZpMonitorAddPort.
typedef long (*ZpMonitorUIAddPortFn)(void* window, char* portName, size_t portNameBytes);
#define ZP_MONITOR_UI_ADD_PORT "ZpMonitorUIAddPort"

}  // extern "C"
