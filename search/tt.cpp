#include "search/tt.h"

#include <cstdlib>
#include <cstring>

#include "search/alphabeta.h"
#include "search/platform.h"

namespace zolt {

int table_megabytes = 0;

namespace {

constexpr int ENTRIES_PER_BUCKET = 4;
constexpr uint64_t BYTES_PER_MB = 1024 * 1024;
constexpr int CACHE_LINE = 64;
constexpr int FILL_SAMPLE = 1000;  // entries counted by table_fill_per_mille
// An older entry is given up for a new one unless it is this much deeper.
constexpr int KEEP_DEEPER_BY = 3;
// Each search since an entry was written counts as this many plies less depth.
constexpr int AGE_WEIGHT = 8;

struct alignas(CACHE_LINE) Bucket {
  TableEntry entries[ENTRIES_PER_BUCKET];
};
static_assert(sizeof(TableEntry) == 16, "four entries fill a cache line");
static_assert(sizeof(Bucket) == CACHE_LINE, "a bucket is one cache line");

void* storage = nullptr;  // what malloc gave, before alignment
Bucket* buckets = nullptr;
uint32_t bucket_count = 0;
uint8_t generation = 0;

uint32_t check_of(uint64_t key) { return static_cast<uint32_t>(key >> 32); }

// The bucket of a key: its low half scaled to the bucket count.
Bucket& bucket_of(uint64_t key) {
  const uint64_t low = static_cast<uint32_t>(key);
  return buckets[(low * bucket_count) >> 32];
}

void release_table() {
  free(storage);
  storage = nullptr;
  buckets = nullptr;
  bucket_count = 0;
  table_megabytes = 0;
}

// Allocates an empty table of megabytes; false when the memory is not there.
bool allocate_table(int megabytes) {
  const uint64_t bytes = static_cast<uint64_t>(megabytes) * BYTES_PER_MB;
  const uint64_t memory = platform_memory_bytes();
  // A table beyond the machine's memory would be given by an overcommitting
  // system and then end the program when its pages are touched.
  if (memory != 0 && bytes > memory / 2) return false;
  if (bytes + CACHE_LINE > static_cast<uint64_t>(SIZE_MAX)) return false;
  // Zeroed memory is an empty table; a large block of it comes from the
  // system as untouched pages, so making the table costs no time and the
  // pages become resident as the search fills them.
  void* block = calloc(static_cast<size_t>(bytes + CACHE_LINE), 1);
  if (!block) return false;
  storage = block;
  const uintptr_t address = reinterpret_cast<uintptr_t>(block);
  buckets = reinterpret_cast<Bucket*>((address + CACHE_LINE - 1) & ~static_cast<uintptr_t>(CACHE_LINE - 1));
  bucket_count = static_cast<uint32_t>(bytes / sizeof(Bucket));
  table_megabytes = megabytes;
  generation = 0;
  return true;
}

// Lower is the better one to overwrite: empty entries first, then the
// shallowest, entries of earlier searches counting as shallower.
int replacement_worth(const TableEntry& e) {
  if (e.bound == BOUND_NONE) return -1000;
  const int age = static_cast<uint8_t>(generation - e.generation);
  return e.depth - AGE_WEIGHT * age;
}

}  // namespace

int resize_table(int megabytes) {
  if (megabytes < 0) megabytes = 0;
  if (megabytes > MAX_TABLE_MB) megabytes = MAX_TABLE_MB;
  release_table();
  for (int size = megabytes; size > 0; size /= 2)
    if (allocate_table(size)) return size;
  return 0;
}

void clear_table() {
  if (buckets) memset(static_cast<void*>(buckets), 0, static_cast<size_t>(bucket_count) * sizeof(Bucket));
  generation = 0;
}

void new_table_search() { ++generation; }

const TableEntry* probe_table(uint64_t key) {
  if (bucket_count == 0) return nullptr;
  Bucket& bucket = bucket_of(key);
  const uint32_t check = check_of(key);
  for (const TableEntry& e : bucket.entries)
    if (e.check == check && e.bound != BOUND_NONE) return &e;
  return nullptr;
}

void store_table(uint64_t key, int depth, int score, TableBound bound, const Move& move) {
  if (bucket_count == 0) return;
  Bucket& bucket = bucket_of(key);
  const uint32_t check = check_of(key);
  TableEntry* target = nullptr;
  for (TableEntry& e : bucket.entries)
    if (e.check == check && e.bound != BOUND_NONE) {
      target = &e;
      break;
    }
  if (target) {
    // The same position: a deeper result of this search stays unless the
    // new one is exact.
    if (bound != BOUND_EXACT && target->generation == generation && target->depth > depth + KEEP_DEEPER_BY) return;
  } else {
    target = &bucket.entries[0];
    for (TableEntry& e : bucket.entries)
      if (replacement_worth(e) < replacement_worth(*target)) target = &e;
  }
  // A result without a move keeps the move an earlier search found here.
  const bool keep_move = move.from == 0 && target->check == check && target->bound != BOUND_NONE;
  if (!keep_move) {
    target->from = static_cast<uint8_t>(move.from);
    target->to = static_cast<uint8_t>(move.to);
    target->kind = static_cast<int8_t>(move.kind);
  }
  target->check = check;
  target->score = score;
  target->depth = static_cast<int8_t>(depth);
  target->bound = bound;
  target->generation = generation;
}

int table_fill_per_mille() {
  if (!buckets) return 0;
  const uint32_t sample_buckets = FILL_SAMPLE / ENTRIES_PER_BUCKET;
  const uint32_t counted = sample_buckets < bucket_count ? sample_buckets : bucket_count;
  int used = 0;
  for (uint32_t b = 0; b < counted; ++b)
    for (const TableEntry& e : buckets[b].entries)
      if (e.bound != BOUND_NONE && e.generation == generation) ++used;
  return counted == 0 ? 0 : used * FILL_SAMPLE / (counted * ENTRIES_PER_BUCKET);
}

int score_to_table(int score, int ply) {
  if (score > MATE_BOUND) return score + ply;
  if (score < -MATE_BOUND) return score - ply;
  return score;
}

int score_from_table(int score, int ply) {
  if (score > MATE_BOUND) return score - ply;
  if (score < -MATE_BOUND) return score + ply;
  return score;
}

}  // namespace zolt
