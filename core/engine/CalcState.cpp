#include "core/engine/CalcState.h"

#include "core/engine/CalcTexts.h"
#include "core/engine/Prompt.h"

void CCalcState::ShowNotice(const std::string& text) const
{
    if (m_pPrompt)
        m_pPrompt->ShowMessage(text, calctext::TEXT_WARNING);
}

void CCalcState::RecordMessage(int k)
{
    m_bCalcOk = false;
    m_strCalcError = calctext::CALC_MESSAGES[k];
}
