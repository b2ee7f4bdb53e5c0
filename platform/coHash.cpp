#include <platform/coHash.h>

#include <platform/utString.h>

#include <new>

unsigned int co_hash(const utString& key) {
    // 32-bit FNV-1a.
    unsigned int hash = 2166136261u;
    const unsigned char* text = reinterpret_cast<const unsigned char*>(key.c_str());
    for (int i = 0; i < key.length(); ++i)
        hash = (hash ^ text[i]) * 16777619u;
    return hash;
}

coObjInterface::~coObjInterface() = default;

// ---- coHash ----

namespace {

int clamp(int value, int low, int high) {
    return value < low ? low : value > high ? high : value;
}

} // namespace

coHash::coHash(int exponent, int load)
    : m_count(0), m_initial_exponent(clamp(exponent, 0, s_max_exponent)),
      m_load(clamp(load, 1, 100)), m_exponent(m_initial_exponent), m_hash_sum(0), m_slots(nullptr) {
}

void* coHash::add(void* const entry) {
    if (obj_null(entry)) return obj_nil();
    const int i = find_index(entry);
    if (i < 0) throw std::bad_alloc();
    void* held = arr_get(m_slots, i);
    if (!obj_null(held)) return held;
    arr_put_copy(m_slots, entry, i);
    ++m_count;
    update_size(m_count);
    return nullptr;
}

int coHash::find_index(void* const entry) const {
    const unsigned int mask = (1u << m_exponent) - 1;
    unsigned int i = obj_hash(entry) & mask;
    // Without a slot array every slot reads as the null element, so the home slot is empty.
    if (!m_slots) return static_cast<int>(i);
    for (unsigned int probes = 0; probes <= mask; ++probes, i = (i + 1) & mask) {
        void* slot = arr_get(m_slots, static_cast<int>(i));
        if (obj_null(slot) || obj_compare(slot, entry) == 0) return static_cast<int>(i);
    }
    return -1;
}

int coHash::remove(void* const entry, void* out) {
    if (!m_slots) return 0;
    const int i = find_index(entry);
    if (i < 0) return 0;
    void* slot = arr_get(m_slots, i);
    if (obj_null(slot)) return 0;
    obj_assign(out, slot);
    obj_assign(slot, obj_nil());
    --m_count;
    close_gap(i);
    return 1;
}

void coHash::become(utCopy, const coHash& other) {
    m_count = other.m_count;
}

void coHash::arr_move(int from, int to) {
    obj_assign(arr_get(m_slots, to), arr_get(m_slots, from));
    obj_assign(arr_get(m_slots, from), obj_nil());
}

void coHash::close_gap(int hole) {
    const unsigned int mask = (1u << m_exponent) - 1;
    unsigned int gap = static_cast<unsigned int>(hole);
    // The run ends at the first empty slot; the gap itself is one, so the walk is bounded.
    for (unsigned int j = (gap + 1) & mask; !obj_null(arr_get(m_slots, static_cast<int>(j)));
         j = (j + 1) & mask) {
        const unsigned int home = obj_hash(arr_get(m_slots, static_cast<int>(j))) & mask;
        // The entry may fill the gap when the gap lies on its probe run from home to j.
        if (((j - home) & mask) >= ((j - gap) & mask)) {
            arr_move(static_cast<int>(j), static_cast<int>(gap));
            gap = j;
        }
    }
}

// ---- basecoSet ----

int basecoSet::obj_null(void* const entry) const {
    return obj_compare(entry, obj_nil()) == 0;
}

// ---- basecoSetcoIterator ----

int basecoSetcoIterator::operator++() {
    const int size = m_set->slot_count();
    for (int i = m_on_slot ? m_index + 1 : 0; i < size; ++i) {
        if (!m_set->obj_null(m_set->arr_get(m_set->m_slots, i))) {
            m_on_slot = 1;
            m_index = i;
            return 1;
        }
    }
    m_on_slot = 0;
    m_index = 0;
    return 0;
}

void* basecoSetcoIterator::item() const {
    return m_on_slot ? m_set->arr_get(m_set->m_slots, m_index) : m_set->obj_nil();
}
