// Progress reporting for long file operations: bounds, position, a caption
// "TITLE [NN%]" that is rewritten only when the whole percentage changes,
// a free text line and a cancel request.
//
// CProgress keeps the state and the rules; the desktop program derives its
// window from it and shows what the hooks tell. The sheet serializer opens
// it, advances it once per row and lets it pump pending events.
#pragma once

#include <string>
#include <vector>

class CProgress {
public:
    virtual ~CProgress() = default;

    // Shows the window with caption as its title: position 0, bounds 0..100,
    // step 1, last percentage 0, not cancelled.
    void Open(const std::string& caption);
    // Hides the window; later calls do nothing until the next Open.
    void Close();
    bool IsOpen() const { return m_bOpen; }

    void SetBounds(int lower, int upper, int step);
    void SetMessage(const std::string& text);
    // Moves the bar; returns the previous position.
    int SetPosition(int position);
    int Advance() { return SetPosition(m_nPosition + m_nStep); }
    // Lets the user interface handle what is waiting. With bCancelOnEsc an
    // Esc key press cancels.
    void PumpPendingMessages(bool bCancelOnEsc);
    // Cancel request: hides the window; the caller decides whether to stop.
    void Cancel();

    bool IsCancelled() const { return m_bCancelled; }
    const std::string& Title() const { return m_strTitle; }
    const std::string& Caption() const { return m_strCaption; }
    int Position() const { return m_nPosition; }
    int Lower() const { return m_nLower; }
    int Upper() const { return m_nUpper; }
    int Percent() const { return m_nPercent; }

protected:
    // What a window shows. The defaults show nothing.
    virtual void OnShow(const std::string& caption) { (void)caption; }
    virtual void OnHide() {}
    virtual void OnCaption(const std::string& caption) { (void)caption; }
    virtual void OnBar(int lower, int upper, int position)
    {
        (void)lower;
        (void)upper;
        (void)position;
    }
    virtual void OnMessage(const std::string& text) { (void)text; }
    // Handles pending events; returns true when Esc was pressed.
    virtual bool OnPump() { return false; }

private:
    std::string m_strTitle = "Progress";
    std::string m_strCaption = "Progress";
    int m_nPosition = 0;
    int m_nStep = 1;
    int m_nLower = 0;
    int m_nUpper = 100;
    int m_nPercent = 0;
    bool m_bOpen = false;
    bool m_bCancelled = false;
};

// A progress that remembers what it was told: for tests and for tools that
// want to show nothing.
class CRecordingProgress : public CProgress {
public:
    std::vector<std::string> m_Captions;  // every caption shown, in order
    std::vector<std::string> m_Opened;    // every Open caption
    std::string m_strMessage;
    int m_nPumps = 0;
    int m_nCloses = 0;
    int m_nCancelAtPump = 0;  // when > 0, the n-th pump presses Esc

protected:
    void OnShow(const std::string& caption) override { m_Opened.push_back(caption); }
    void OnHide() override { ++m_nCloses; }
    void OnCaption(const std::string& caption) override { m_Captions.push_back(caption); }
    void OnMessage(const std::string& text) override { m_strMessage = text; }
    bool OnPump() override { return ++m_nPumps == m_nCancelAtPump; }
};
