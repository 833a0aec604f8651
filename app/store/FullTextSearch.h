#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>

#include "app/store/ContentMatch.h"
#include "app/store/FolderTreeModel.h"

// "テキストの全文検索": the walk over the folder tree that finds the next scrap whose page
// text contains a search text, and opens it on its text tab with the occurrence selected.
namespace store {

// What the walk needs from the windows once it has made a matching scrap the caret item (which
// opens it): show the text tab, give the text view the focus and find the text there from its
// selection. Returns where the occurrence starts, or a negative value when the view does not
// find it (after unsaved edits, for instance): the walk then goes on.
class ScrapTextFinder {
 public:
  virtual ~ScrapTextFinder() = default;
  virtual long FindInOpenScrap(const std::string& text, bool matchCase, bool down,
                               bool allowWrap) = 0;
};

// The item after x in the walk: pre-order over the whole tree, downwards or upwards. Folders
// passed on the way are expanded (loading their next level), so the walk sees every item
// exactly once. Null after the last item (down) or the home item (up).
[[nodiscard]] TreeItem* NextInWalk(FolderTreeModel& model, TreeItem* x, bool down);

// Reads and checks Content.txt files on a thread of its own, ahead of the walk, so the walk
// (which expands the tree on the interface thread) rarely waits for the disk. Results are
// the same as ContentReader's; a folder the worker has not reached is checked by the caller.
class ContentPrefetcher {
 public:
  explicit ContentPrefetcher(ContentNeedle needle);
  ~ContentPrefetcher();
  ContentPrefetcher(const ContentPrefetcher&) = delete;
  ContentPrefetcher& operator=(const ContentPrefetcher&) = delete;

  // Queues a folder's check (again-queued folders are ignored).
  void Queue(const std::string& folder);
  [[nodiscard]] bool IsQueued(const std::string& folder) const;
  // The check's result: waits when the worker is reading the file now, checks it here when
  // the worker has not begun it.
  [[nodiscard]] ContentReader::Result Take(const std::string& folder);

 private:
  enum class State { Waiting, Working, Done };
  struct Entry {
    State state = State::Waiting;
    ContentReader::Result result = ContentReader::Result::Unreadable;
  };
  void Run();

  const ContentNeedle m_needle;
  mutable std::mutex m_mutex;
  std::condition_variable m_wake;
  std::condition_variable m_done;
  std::deque<std::string> m_queue;
  std::unordered_map<std::string, Entry> m_entries;
  bool m_stop = false;
  ContentReader m_ownReader;  // the caller's reads
  std::jthread m_worker;
};

struct FullTextRequest {
  std::string text;  // UTF-8
  bool matchCase = false;
  bool down = true;
};

enum class FullTextOutcome {
  kEmptyText,  // nothing was done
  kFound,      // the matching scrap is the caret item, its occurrence selected
  kNotFound,   // the walk reached the end; the caret item is unchanged
};

// One "find next": from the caret item (else the home item), each item's Content.txt is checked
// in walk order with the tree's redrawing off; the first match becomes the caret item and
// the finder selects the occurrence. The caret item's own scrap is examined first, so
// repeated requests step through its occurrences before moving on.
[[nodiscard]] FullTextOutcome SearchScrapbook(FolderTreeModel& model,
                                              const FullTextRequest& request,
                                              ScrapTextFinder& finder);

}  // namespace store
