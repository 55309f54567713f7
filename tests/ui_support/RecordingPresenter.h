#pragma once

// An operator presenter for tests: modal boxes are recorded instead of shown, so nothing
// blocks; notices still open the real notice window, status texts without a bar are kept.

#include "OperatorPresenter.h"

#include <memory>
#include <string>
#include <vector>

namespace medrec::testing {

struct RecordedMessage
{
    enum class Channel { MessageBox, Plain, Notice, Status };
    Channel channel;
    std::string text;
};

class RecordingPresenter : public middleware::WindowPresenter
{
public:
    void messageBox(const std::string &text) override { m_log.push_back({RecordedMessage::Channel::MessageBox, text}); }
    void plainMessage(const std::string &text) override { m_log.push_back({RecordedMessage::Channel::Plain, text}); }
    void notice(const std::string &text) override
    {
        m_log.push_back({RecordedMessage::Channel::Notice, text});
        middleware::WindowPresenter::notice(text);
    }
    void status(const std::string &text) override { m_log.push_back({RecordedMessage::Channel::Status, text}); }

    const std::vector<RecordedMessage> &log() const { return m_log; }
    std::vector<std::string> texts(RecordedMessage::Channel channel) const
    {
        std::vector<std::string> out;
        for (const auto &m : m_log)
            if (m.channel == channel)
                out.push_back(m.text);
        return out;
    }
    void clear() { m_log.clear(); }

private:
    std::vector<RecordedMessage> m_log;
};

// Installs a RecordingPresenter for the life of the object and restores the previous one.
class ScopedRecordingPresenter
{
public:
    ScopedRecordingPresenter()
    {
        auto presenter = std::make_unique<RecordingPresenter>();
        m_presenter = presenter.get();
        m_previous = middleware::SetPresenter(std::move(presenter));
    }
    ~ScopedRecordingPresenter() { middleware::SetPresenter(std::move(m_previous)); }
    ScopedRecordingPresenter(const ScopedRecordingPresenter &) = delete;
    ScopedRecordingPresenter &operator=(const ScopedRecordingPresenter &) = delete;

    RecordingPresenter &operator*() const { return *m_presenter; }
    RecordingPresenter *operator->() const { return m_presenter; }

private:
    RecordingPresenter *m_presenter;
    std::unique_ptr<middleware::OperatorPresenter> m_previous;
};

} // namespace medrec::testing
