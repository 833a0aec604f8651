#include <algorithm>
#include <cstddef>
#include <cstdio>  // libmng.h pulls in jpeglib.h, which needs FILE
#include <cstdlib>
#include <cstring>

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

// libmng sizes its buffers from the file (objects, rows, stored frames), and its allocator gets
// no user pointer; so every block of one decode on this thread is counted and chained here.
// Past the picture budget in total, an allocation fails and libmng gives up; and whatever libmng
// leaves allocated when a damaged file ends its decode early is freed after its cleanup.
struct MngBlock {
  MngBlock* prev;
  MngBlock* next;
  size_t size;
  alignas(std::max_align_t) unsigned char payload[1];
};

struct MngHeap {
  MngBlock* head = nullptr;
  uint64_t bytes = 0;
};
thread_local MngHeap t_mngHeap;

mng_ptr Alloc(mng_size_t size) {
  MngHeap& heap = t_mngHeap;
  if (size > kCxImageMaxMemory - heap.bytes) return nullptr;
  auto* block = static_cast<MngBlock*>(std::calloc(1, offsetof(MngBlock, payload) + size));
  if (!block) return nullptr;
  block->size = size;
  block->next = heap.head;
  if (heap.head) heap.head->prev = block;
  heap.head = block;
  heap.bytes += size;
  return block->payload;
}

void Release(MngHeap& heap, MngBlock* block) {
  (block->prev ? block->prev->next : heap.head) = block->next;
  if (block->next) block->next->prev = block->prev;
  heap.bytes -= block->size;
  std::free(block);
}

void Free(mng_ptr p, mng_size_t) {
  if (p)
    Release(t_mngHeap, reinterpret_cast<MngBlock*>(static_cast<unsigned char*>(p) -
                                                   offsetof(MngBlock, payload)));
}

void ReleaseLeftovers() {
  while (t_mngHeap.head) Release(t_mngHeap, t_mngHeap.head);
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
  mng_handle h = mng_initialize(&state, Alloc, Free, MNG_NULL);
  if (!h) {
    ReleaseLeftovers();
    return DecodeFailed(img, "MNG: out of memory");
  }
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
  ReleaseLeftovers();
  if (!ok) {
    if (img.IsValid() || img.GetLastError()[0] == 0)
      return DecodeFailed(img, "MNG file is corrupt");
    img.Destroy();
    return false;
  }
  return true;
}
