#include "app/store/FullTextSearch.h"

#include <unordered_set>
#include <utility>

namespace store {

namespace {

// How many items the reader works ahead of the walk: enough to keep the disk busy while the
// tree expands, few enough that a match early in the walk wastes little reading.
constexpr int kReadAhead = 64;

// The item after `item` in pre-order among the items loaded so far, without expanding
// anything: where the walk is going next, as far as the tree knows it yet.
const TreeItem* LoadedAfter(const TreeItem* item, bool down) {
  if (down) {
    if (item->HasChildren()) return item->FirstChild();
    for (const TreeItem* it = item; it; it = it->parent) {
      if (const TreeItem* next = it->NextSibling()) return next;
    }
    return nullptr;
  }
  const TreeItem* prev = item->PrevSibling();
  if (!prev) return item->parent;
  while (prev->HasChildren()) prev = prev->children.back().get();
  return prev;
}

}  // namespace

TreeItem* NextInWalk(FolderTreeModel& model, TreeItem* x, bool down) {
  if (!x) return nullptr;
  if (down) {
    if (x->HasChildren()) model.Expand(x);
    return model.NextVisible(x);
  }
  TreeItem* p = model.PrevVisible(x);
  while (p && p->HasChildren() && p != x->parent) {
    model.Expand(p);
    TreeItem* inside = model.PrevVisible(x);
    // An item whose children will not show (the model refused to expand it) ends the descent.
    if (inside == p) break;
    p = inside;
  }
  return p;
}

ContentPrefetcher::ContentPrefetcher(ContentNeedle needle)
    : m_needle(std::move(needle)), m_worker([this] { Run(); }) {}

ContentPrefetcher::~ContentPrefetcher() {
  {
    std::lock_guard lock(m_mutex);
    m_stop = true;
  }
  m_wake.notify_all();
}

void ContentPrefetcher::Queue(const std::string& folder) {
  {
    std::lock_guard lock(m_mutex);
    if (!m_entries.try_emplace(folder).second) return;
    m_queue.push_back(folder);
  }
  m_wake.notify_one();
}

bool ContentPrefetcher::IsQueued(const std::string& folder) const {
  std::lock_guard lock(m_mutex);
  return m_entries.contains(folder);
}

ContentReader::Result ContentPrefetcher::Take(const std::string& folder) {
  {
    std::unique_lock lock(m_mutex);
    auto it = m_entries.find(folder);
    if (it != m_entries.end()) {
      if (it->second.state == State::Waiting) {
        // Ours now: the worker skips an entry that is no longer waiting.
        it->second.state = State::Working;
      } else {
        m_done.wait(lock, [&] { return m_entries.at(folder).state == State::Done; });
        return m_entries.at(folder).result;
      }
    } else {
      m_entries.try_emplace(folder).first->second.state = State::Working;
    }
  }
  const ContentReader::Result result = m_ownReader.Check(folder, m_needle);
  std::lock_guard lock(m_mutex);
  Entry& entry = m_entries.at(folder);
  entry.state = State::Done;
  entry.result = result;
  return result;
}

void ContentPrefetcher::Run() {
  ContentReader reader;
  std::unique_lock lock(m_mutex);
  for (;;) {
    m_wake.wait(lock, [this] { return m_stop || !m_queue.empty(); });
    if (m_stop) return;
    std::string folder = std::move(m_queue.front());
    m_queue.pop_front();
    Entry& entry = m_entries.at(folder);
    if (entry.state != State::Waiting) continue;
    entry.state = State::Working;
    lock.unlock();
    const ContentReader::Result result = reader.Check(folder, m_needle);
    lock.lock();
    // Entries are never erased while the prefetcher lives, so the reference still holds.
    entry.state = State::Done;
    entry.result = result;
    m_done.notify_all();
  }
}

FullTextOutcome SearchScrapbook(FolderTreeModel& model, const FullTextRequest& request,
                                ScrapTextFinder& finder) {
  if (request.text.empty()) return FullTextOutcome::kEmptyText;
  TreeItem* x = model.Caret() ? model.Caret() : model.Home();
  if (!x) return FullTextOutcome::kNotFound;

  ContentPrefetcher reader(ContentNeedle(request.text, request.matchCase));
  std::unordered_set<const TreeItem*> queued;
  model.BeginBulk();
  TreeItem* last = x;
  while (x) {
    // Keep the reader a stretch ahead of the walk along the items loaded so far.
    const TreeItem* ahead = x;
    for (int i = 0; i < kReadAhead && ahead; ++i, ahead = LoadedAfter(ahead, request.down)) {
      if (queued.insert(ahead).second) reader.Queue(ahead->Path());
    }
    if (reader.Take(x->Path()) == ContentReader::Result::Match) {
      TreeItem* before = model.Caret();
      // Making it the caret item opens the scrap, unless it already was open.
      model.SelectOnly(x);
      const bool allowWrap = x != before && !request.down;
      if (finder.FindInOpenScrap(request.text, request.matchCase, request.down, allowWrap) >= 0) {
        model.EnsureVisible(x);
        model.EndBulk();
        return FullTextOutcome::kFound;
      }
    }
    last = x;
    x = NextInWalk(model, x, request.down);
  }
  // Each step of the walk would have scrolled its item into view; with the redrawing off only
  // where it ends shows, so the last item is made visible once.
  model.EnsureVisible(last);
  model.EndBulk();
  return FullTextOutcome::kNotFound;
}

}  // namespace store
