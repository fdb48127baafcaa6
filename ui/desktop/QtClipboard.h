// The sheet's clipboard over the system clipboard: plain text, converted
// between GBK and UTF-8 at this edge. Text from other programs that holds
// characters GBK cannot store arrives with "?" in their place, and the
// notice callback is told.
#pragma once

#include "core/edit/ClipboardOps.h"

#include <functional>

class CQtClipboard : public CClipboard {
public:
    EState GetText(std::string& text) override;
    bool SetText(const std::string& text) override;

    // Called when pasted text lost characters to "?".
    std::function<void()> m_OnReplaced;
};
