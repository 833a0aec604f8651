#pragma once

// libjpeg error handling shared by the JPEG decoders: errors jump back to the caller's setjmp
// with the library's message, warnings are ignored except a file that ends early.

#include <csetjmp>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

namespace jpegerrors {

// Progressive files can carry thousands of tiny scans that each cost a full pass over the
// coefficients; real encoders use about ten.
constexpr int kMaxScans = 1000;

struct ErrorManager {
  jpeg_error_mgr pub;
  jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] inline void OnError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  longjmp(err->jump, 1);
}

// Corrupt-data warnings are tolerated (browsers show such pictures), but a file that ends
// before its last scan is a failure rather than a picture padded with grey.
inline void OnMessage(j_common_ptr cinfo, int level) {
  if (level == -1 && cinfo->err->msg_code == JWRN_JPEG_EOF) OnError(cinfo);
}

inline void OnOutput(j_common_ptr) {}

inline void OnProgress(j_common_ptr cinfo) {
  if (!cinfo->is_decompressor) return;
  auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (d->input_scan_number > kMaxScans) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::snprintf(err->message, sizeof err->message, "JPEG file has too many scans");
    longjmp(err->jump, 1);
  }
}

inline void InitErrors(ErrorManager& err) {
  jpeg_std_error(&err.pub);
  err.pub.error_exit = OnError;
  err.pub.emit_message = OnMessage;
  err.pub.output_message = OnOutput;
  err.message[0] = 0;
}

}  // namespace jpegerrors
