#include "core/engine/CalcState.h"

#include "core/engine/CalcTexts.h"
#include "core/engine/Prompt.h"

CCalcState::CCalcState()
{
    for (int k = 0; k < 9; ++k)
        m_strCalcMsg[k] = calctext::CALC_MESSAGES[k];
}

void CCalcState::ShowNotice(const std::string& text) const
{
    if (m_pPrompt)
        m_pPrompt->ShowMessage(text, calctext::TEXT_WARNING);
}

void CCalcState::RecordMessage(int k)
{
    m_bCalcOk = 0;
    m_strCalcError = m_strCalcMsg[k];
}
