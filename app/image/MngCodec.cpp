#include <cstdio>  // libmng.h pulls in jpeglib.h, which needs FILE
#include <cstdlib>
#include <cstring>
#include <algorithm>

#include <libmng.h>

#include "app/image/ImageCodecs.h"

namespace {

struct MngState {
  ByteSpan in;
  size_t pos;
  CxImage* img;
  bool created;
};

MngState* StateOf(mng_handle h) { return static_cast<MngState*>(mng_get_userdata(h)); }

// libmng sizes its buffers from the file (objects, rows, stored frames) and its allocator gets
// no user pointer, so what one decode on this thread holds is counted here; past the picture
// budget in total, an allocation fails and libmng gives up.
thread_local uint64_t t_mngBytes = 0;

mng_ptr Alloc(mng_size_t size) {
  if (size > kCxImageMaxMemory - t_mngBytes) return nullptr;
  void* p = std::calloc(1, size);
  if (p) t_mngBytes += size;
  return static_cast<mng_ptr>(p);
}
void Free(mng_ptr p, mng_size_t size) {
  if (!p) return;
  std::free(p);
  t_mngBytes -= std::min<uint64_t>(size, t_mngBytes);
}
mng_bool Open(mng_handle) { return MNG_TRUE; }
mng_bool Close(mng_handle) { return MNG_TRUE; }

mng_bool Read(mng_handle h, mng_ptr buffer, mng_uint32 size, mng_uint32p read) {
  MngState* s = StateOf(h);
  const size_t n = std::min<size_t>(size, s->in.size - s->pos);
  std::memcpy(buffer, s->in.data + s->pos, n);
  s->pos += n;
  *read = mng_uint32(n);
  return MNG_TRUE;
}

mng_bool Header(mng_handle h, mng_uint32 width, mng_uint32 height) {
  MngState* s = StateOf(h);
  if (!s->img->Create(width, height, 24, CXIMAGE_FORMAT_MNG)) return MNG_FALSE;
  s->created = true;
  // Pixels with alpha are composed over the white page.
  std::memset(s->img->GetBits(0), 0xFF, size_t(s->img->GetEffWidth()) * height);
  mng_set_canvasstyle(h, MNG_CANVAS_BGR8);
  mng_set_bgcolor(h, 0xFFFF, 0xFFFF, 0xFFFF);
  return MNG_TRUE;
}

mng_ptr CanvasLine(mng_handle h, mng_uint32 line) {
  MngState* s = StateOf(h);
  if (!s->created || line >= s->img->GetHeight()) return nullptr;
  return s->img->GetBits(s->img->GetHeight() - 1 - line);
}

mng_bool Refresh(mng_handle, mng_uint32, mng_uint32, mng_uint32, mng_uint32) { return MNG_TRUE; }
mng_uint32 Ticks(mng_handle) { return 0; }
// The first frame is all that is shown: a timer request means it is complete.
mng_bool Timer(mng_handle, mng_uint32) { return MNG_TRUE; }

}  // namespace

bool SniffMng(ByteSpan in) {
  static const uint8_t kMng[8] = {0x8A, 'M', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  static const uint8_t kJng[8] = {0x8B, 'J', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  return in.size >= 8 && (std::memcmp(in.data, kMng, 8) == 0 || std::memcmp(in.data, kJng, 8) == 0);
}

bool DecodeMng(CxImage& img, ByteSpan in, const CxDecodeHint&) {
  if (!SniffMng(in)) return DecodeFailed(img, "Not an MNG file");
  MngState state{in, 0, &img, false};
  t_mngBytes = 0;
  mng_handle h = mng_initialize(&state, Alloc, Free, MNG_NULL);
  if (!h) return DecodeFailed(img, "MNG: out of memory");
  mng_setcb_openstream(h, Open);
  mng_setcb_closestream(h, Close);
  mng_setcb_readdata(h, Read);
  mng_setcb_processheader(h, Header);
  mng_setcb_getcanvasline(h, CanvasLine);
  mng_setcb_refresh(h, Refresh);
  mng_setcb_gettickcount(h, Ticks);
  mng_setcb_settimer(h, Timer);
  mng_set_maxcanvassize(h, 65535, 65535);
  mng_retcode rc = mng_read(h);
  if (rc == MNG_NOERROR && state.created) rc = mng_display(h);
  const bool ok = state.created && (rc == MNG_NOERROR || rc == MNG_NEEDTIMERWAIT);
  mng_cleanup(&h);
  if (!ok) {
    if (img.IsValid() || img.GetLastError()[0] == 0)
      return DecodeFailed(img, "MNG file is corrupt");
    img.Destroy();
    return false;
  }
  return true;
}
