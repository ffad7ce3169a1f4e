// What one step of the game did, in the order it happened.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace stonerush {

enum class Event : uint8_t {
    CellsChanged,  // the board or the preview: draw them again
    RowsFound,     // a landing completed full rows; they begin to flash
    RowsCleared,   // the flashed rows were removed and the rows above moved down
    ScoreChanged,
    LinesChanged,
    SpeedRaised,  // ten more rows: the pieces fall faster
    LineSound,    // after one, two or three full rows
    QuadSound,    // after four
    GameOver,     // the next piece found no room; always the last event
};

class StepReport {
public:
    void add(Event event) { m_events[m_count++] = event; }
    bool has(Event event) const {
        for (Event e : events())
            if (e == event) return true;
        return false;
    }
    std::span<const Event> events() const { return {m_events.data(), m_count}; }
    bool empty() const { return m_count == 0; }

private:
    std::array<Event, 12> m_events{};
    std::size_t m_count = 0;
};

}  // namespace stonerush
