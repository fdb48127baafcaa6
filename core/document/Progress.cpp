#include "core/document/Progress.h"

void CProgress::Open(const std::string& caption)
{
    m_strTitle = caption;
    m_strCaption = caption;
    m_nPosition = 0;
    m_nStep = 1;
    m_nLower = 0;
    m_nUpper = 100;
    m_nPercent = 0;
    m_bCancelled = false;
    m_bOpen = true;
    OnShow(caption);
}

void CProgress::Close()
{
    if (!m_bOpen)
        return;
    m_bOpen = false;
    OnHide();
}

void CProgress::SetBounds(int lower, int upper, int step)
{
    if (!m_bOpen)
        return;
    m_nLower = lower;
    m_nUpper = upper;
    m_nStep = step;
    OnBar(m_nLower, m_nUpper, m_nPosition);
}

void CProgress::SetMessage(const std::string& text)
{
    if (m_bOpen)
        OnMessage(text);
}

int CProgress::SetPosition(int position)
{
    const int previous = m_nPosition;
    if (!m_bOpen)
        return previous;
    m_nPosition = position;
    // 64-bit so that a position near the top of the int range cannot overflow.
    int percent = 0;
    if (m_nUpper > m_nLower)
        percent = static_cast<int>(static_cast<long long>(position) * 100 / (static_cast<long long>(m_nUpper) - m_nLower));
    if (percent != m_nPercent) {
        m_nPercent = percent;
        m_strCaption = m_strTitle + " [" + std::to_string(percent) + "%]";
        OnCaption(m_strCaption);
    }
    OnBar(m_nLower, m_nUpper, m_nPosition);
    return previous;
}

void CProgress::PumpPendingMessages(bool bCancelOnEsc)
{
    if (!m_bOpen || m_bCancelled)
        return;
    if (OnPump() && bCancelOnEsc)
        Cancel();
}

void CProgress::Cancel()
{
    m_bCancelled = true;
    Close();
}
