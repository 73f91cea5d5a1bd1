#include "FileReport.h"

namespace dnl::cli {

std::string JsonText(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

void FileReport::Explain(const std::string& file, const std::string& reason) {
    m_out.flush();
    m_err << "dnlconv: '" << file << "' " << reason << '\n';
}

void TextReport::Begin(const std::string& file) {
    m_out << "==> " << file << " <==\n";
}

void TextReport::AddLine(const std::string& text) {
    m_out << text << '\n' << std::flush;
}

void TextReport::End(const Json& /*facts*/) {}

void JsonReport::Begin(const std::string& file) {
    m_out << R"({"file":)" << JsonText(file) << R"(,"dry_run":)" << (m_dryRun ? "true" : "false")
          << R"(,"lines":[)";
    m_firstLine = true;
}

void JsonReport::AddLine(const std::string& text) {
    m_out << (m_firstLine ? "" : ",") << JsonText(text);
    m_firstLine = false;
}

void JsonReport::End(const Json& facts) {
    // The facts' own object, its opening brace dropped, closes this one.
    m_out << "]," << JsonText(facts).substr(1) << '\n' << std::flush;
}

}  // namespace dnl::cli
