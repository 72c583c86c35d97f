#pragma once

// Ends the main window's search for a pass over the whole collection, and puts
// it back when the pass is over. Context: a window's context with the main
// window's searchMode, endSearch and restoreSearch.

namespace ui {

template <typename Context>
class SearchPause {
public:
    SearchPause(const Context& context, bool end)
        : m_context(context)
        , m_ended(end && context.searchMode && context.searchMode())
    {
        if (m_ended && m_context.endSearch)
            m_context.endSearch();
    }
    ~SearchPause()
    {
        if (m_ended && m_context.restoreSearch)
            m_context.restoreSearch();
    }
    SearchPause(const SearchPause&) = delete;
    SearchPause& operator=(const SearchPause&) = delete;

private:
    const Context& m_context;
    bool m_ended;
};

} // namespace ui
