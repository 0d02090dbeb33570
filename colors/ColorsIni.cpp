// The colors.ini writer and reader, and the table of message codes they share.
#include "colors/ColorsIni.h"

#include <array>
#include <optional>

#include "base/Text.h"
#include "colors/SchemeFiles.h"
#include "core/AppState.h"
#include "files/FileReplacement.h"

namespace quil {

namespace {

constexpr std::string_view kColorsIni = "colors.ini";
constexpr std::string_view kHeader = "[Colors]\nUse Skin=1\nFile=colors.ini\n";

// Code, sub-index, label, color from, and for the rows the reader uses, the entry it loads. The
// labels are the messaging client's own, cut-off and odd ones included.
constexpr std::array<MessageColorRow, 163> kRows{{
    {"-0000001", "00", "IRC Putinfo", MsgServer},
    {"00000001", "00", "IRC Server Messages", MsgServer, MsgServer},
    {"00000002", "00", "IRC Server Messages", MsgServer},
    {"00000003", "00", "IRC Server Messages", MsgServer},
    {"00000004", "00", "IRC Server Messages", MsgServer},
    {"00000032", "00", "IM Action", MsgAction, MsgAction},
    {"00000035", "00", "IM Link", MsgLinks, MsgLinks},
    {"00000200", "00", "Server Trace", MsgServer},
    {"00000201", "00", "Various Trace Messages", MsgServer},
    {"00000202", "00", "Various Trace Messages", MsgServer},
    {"00000203", "00", "Various Trace Messages", MsgServer},
    {"00000204", "00", "Various Trace Messages", MsgServer},
    {"00000205", "00", "User Trace", MsgServer},
    {"00000206", "00", "More Trace", MsgServer},
    {"00000208", "00", "More Trace", MsgServer},
    {"00000211", "00", "Stats L", MsgServer},
    {"00000212", "00", "Stats commands", MsgServer},
    {"00000213", "00", "Stats C,N,I", MsgServer},
    {"00000214", "00", "Stats C,N,I", MsgServer},
    {"00000215", "00", "Stats C,N,I", MsgServer},
    {"00000216", "00", "Stats K", MsgServer},
    {"00000217", "00", "Stats Q,Y", MsgServer},
    {"00000218", "00", "Stats Q,Y", MsgServer},
    {"00000221", "00", "User mode", MsgModes},
    {"00000241", "00", "Stats L", MsgServer},
    {"00000243", "00", "Stats O", MsgServer},
    {"00000249", "00", "Stats P", MsgServer},
    {"00000250", "00", "IRC Server Messages", MsgServer},
    {"00000251", "00", "IRC Server Messages", MsgServer},
    {"00000252", "00", "Case 252", MsgServer},
    {"00000253", "00", "Case 253", MsgServer},
    {"00000254", "00", "Case 254", MsgServer},
    {"00000255", "00", "IRC Server Messages", MsgServer},
    {"00000256", "00", "Admin", MsgServer},
    {"00000257", "00", "Admin", MsgServer},
    {"00000258", "00", "Admin", MsgServer},
    {"00000259", "00", "Admin", MsgServer},
    {"00000262", "00", "End of TRACE", MsgServer},
    {"00000263", "00", "Server load too heavy", MsgErrors, MsgErrors},
    {"00000265", "00", "IRC Server Messages", MsgServer},
    {"00000266", "00", "IRC Server Messages", MsgServer},
    {"00000301", "00", "WHOIS away notice", MsgServer},
    {"00000302", "00", "Userhost", MsgServer},
    {"00000303", "00", "Notify", MsgServer},
    {"00000305", "00", "No longer away", MsgServer},
    {"00000306", "00", "Away", MsgServer},
    {"00000311", "00", "WHOIS", MsgServer},
    {"00000312", "00", "WHOIS", MsgServer},
    {"00000313", "00", "WHOIS", MsgServer},
    {"00000314", "00", "WHOWAS", MsgServer},
    {"00000315", "00", "End of WHO", MsgServer},
    {"00000317", "00", "WHOIS", MsgServer},
    {"00000318", "00", "End of WHOIS", MsgServer},
    {"00000319", "00", "WHOIS", MsgServer},
    {"00000324", "00", "Channel Modes", MsgModes},
    {"00000329", "00", "Channel Creation", MsgServer},
    {"00000331", "00", "No Topic Set", MsgServer},
    {"00000332", "00", "Initial Topic", MsgServer},
    {"00000333", "00", "Time set and who by", MsgServer},
    {"00000341", "00", "Invited user X to channel Y", MsgServer},
    {"00000351", "00", "IRC Version", MsgServer},
    {"00000352", "00", "WHO", MsgServer},
    {"00000353", "00", "Names listing", MsgNick},
    {"00000364", "00", "Links", MsgLinks},
    {"00000366", "00", "End of Names listing", MsgNick},
    {"00000367", "00", "Channel bans", MsgErrors},
    {"00000371", "00", "Info", MsgServer},
    {"00000372", "00", "IRC Server Messages", MsgServer},
    {"00000375", "00", "IRC Server Messages", MsgServer},
    {"00000381", "00", "You're an IRCOP", MsgServer},
    {"00000382", "00", "Rehashing", MsgServer},
    {"00000391", "00", "Server time response", MsgServer},
    {"00000401", "00", "No such nick/channel", MsgErrors},
    {"00000402", "00", "No such server", MsgErrors},
    {"00000403", "00", "No such channel", MsgErrors},
    {"00000404", "00", "Cannot send to channel", MsgErrors},
    {"00000405", "00", "Too many channels", MsgErrors},
    {"00000406", "00", "There was no such nickname", MsgErrors},
    {"00000407", "00", "Multiple recipients; not sent", MsgErrors},
    {"00000411", "00", "No recipient given", MsgErrors},
    {"00000412", "00", "No text to send", MsgErrors},
    {"00000413", "00", "No toplevel domain specified", MsgErrors},
    {"00000414", "00", "Wildcard in toplevel domai", MsgErrors},
    {"00000421", "00", "Unknown command", MsgErrors},
    {"00000422", "00", "MOTD missing", MsgErrors},
    {"00000431", "00", "No nickname given", MsgErrors},
    {"00000432", "00", "Erroneous nickname", MsgErrors},
    {"00000433", "00", "Nickname in use", MsgErrors},
    {"00000437", "00", "Nick/Resource currently unavailable", MsgErrors},
    {"00000441", "00", "They aren't on that channel", MsgErrors},
    {"00000442", "00", "You're not on channel", MsgErrors},
    {"00000443", "00", "Already on channel", MsgErrors},
    {"00000451", "00", "Not registered", MsgErrors},
    {"00000461", "00", "Not enough parameters", MsgErrors},
    {"00000462", "00", "Unauthorized command", MsgErrors},
    {"00000463", "00", "No perm for host", MsgErrors},
    {"00000464", "00", "Password incorrect", MsgErrors},
    {"00000465", "00", "Banned from server", MsgErrors},
    {"00000471", "00", "Channel full", MsgErrors},
    {"00000472", "00", "Unknown mode", MsgErrors},
    {"00000473", "00", "Invite-only", MsgErrors},
    {"00000474", "00", "Banned", MsgErrors},
    {"00000475", "00", "Channel key", MsgErrors},
    {"00000481", "00", "You're not an IRCOP", MsgErrors},
    {"00000482", "00", "You're not opped", MsgErrors},
    {"00000491", "00", "No O-lines for your host", MsgErrors},
    {"00000501", "00", "Unknown UMODE flag", MsgErrors},
    {"00000502", "00", "Can't change mode for other users", MsgErrors},
    {"00001000", "00", "Notice Directly", MsgNotices, MsgNotices},
    {"00001001", "00", "Notice Channel", MsgNotices},
    {"00001002", "00", "Notice Server", MsgNotices},
    {"00001003", "00", "Query Window Nicks", MsgNick},
    {"00001003", "01", "Query Window Text", MsgText},
    {"00001004", "00", "Channel Window Nicks", MsgNick},
    {"00001004", "01", "Channel Window Text", MsgText},
    {"00001005", "00", "Join", MsgModes},
    {"00001006", "00", "Join (Echo)", MsgModes},
    {"00001007", "00", "Part", MsgModes},
    {"00001008", "00", "Part (Echo)", MsgModes},
    {"00001009", "00", "Quit", MsgModes},
    {"00001010", "00", "Topic", MsgTopic, MsgTopic},
    {"00001011", "00", "Invite", MsgNotices},
    {"00001012", "00", "Nick", MsgNick, MsgNick},
    {"00001013", "00", "Nick (Echo)", MsgMyNick, MsgMyNick},
    {"00001014", "00", "Kill", MsgErrors},
    {"00001015", "00", "Mode User", MsgModes, MsgModes},
    {"00001016", "00", "Mode Channel", MsgModes},
    {"00001017", "00", "Kick", MsgErrors},
    {"00001018", "00", "Kick (Echo)", MsgErrors},
    {"00001019", "00", "Wallops", MsgModes},
    {"00001020", "00", "T Error", MsgErrors},
    {"00001021", "00", "Action Directly", MsgAction},
    {"00001022", "00", "Action Channel", MsgAction},
    {"00001023", "00", "CTCP Ping", MsgServer},
    {"00001024", "00", "CTCP Other", MsgServer},
    {"00001025", "00", "DCC Chat Start", MsgServer},
    {"00001026", "00", "DCC EChat Start", MsgServer},
    {"00001027", "00", "DCC Send Start", MsgServer},
    {"00001028", "00", "EDCC Nick", MsgNick},
    {"00001028", "01", "EDCC Text", MsgText},
    {"00001029", "00", "DCC Nick", MsgNick},
    {"00001029", "01", "DCC Text", MsgText},
    {"00001030", "00", "Misc", MsgServer},
    {"00001031", "00", "Query Window Nicks (Echo)", MsgMyNick},
    {"00001031", "01", "Query Window Text (Echo)", MsgMyText},
    {"00001032", "00", "Notice Echo", MsgNotices},
    {"00001043", "00", "Channel Mode", MsgModes},
    {"00001048", "00", "Action Echo", MsgMyAction, MsgMyAction},
    {"00001049", "00", "Describe Echo", MsgMyAction},
    {"00001050", "00", "DCC Conf Start", MsgServer},
    {"00001051", "00", "DCC EConf Start", MsgServer},
    {"00001052", "00", "DCC Conf Text", MsgText},
    {"00001053", "00", "DCC EConf Text", MsgText},
    {"00001054", "00", "DCC Text (Echo)", MsgMyText},
    {"00001055", "00", "DCC Conf (Echo)", MsgServer},
    {"00001056", "00", "DCC Close", MsgServer},
    {"00001058", "00", "DCC Error", MsgErrors},
    {"00002000", "00", "IM Nick", MsgNick},
    {"00002000", "01", "IM Text", MsgText, MsgText},
    {"00002001", "00", "IM Echo Nick", MsgMyNick},
    {"00002001", "01", "IM Echo Text", MsgMyText, MsgMyText},
    {"00002002", "00", "IM Putinfo", MsgServer, MsgPutinfo},
    {"00002005", "00", "Auto History", MsgAutoHistory, MsgAutoHistory},
}};

std::string ColorLine(const MessageColorRow& row, Color color) {
  return Format("color_%s_%s_color=%d,%d,%d\n",
                {row.code, row.sub, std::to_string(RedOf(color)), std::to_string(GreenOf(color)),
                 std::to_string(BlueOf(color))});
}

std::string TextLine(const MessageColorRow& row) {
  return Format("color_%s_%s_text=%s\n", {row.code, row.sub, row.label});
}

}  // namespace

std::span<const MessageColorRow> MessageColorRows() {
  return kRows;
}

std::string ColorKey(const MessageColorRow& row) {
  return Format("color_%s_%s_color", {row.code, row.sub});
}

Color ColorLineValue(std::string_view line) {
  std::array<int, 3> components{};
  const auto equals = line.find('=');
  if (equals != std::string_view::npos) {
    std::string_view rest = line.substr(equals + 1);
    for (int& component : components) {
      const auto start = rest.find_first_not_of(',');
      if (start == std::string_view::npos) break;
      rest.remove_prefix(start);
      const auto end = rest.find(',');
      component = LeadingInt(rest.substr(0, end));
      rest.remove_prefix(end == std::string_view::npos ? rest.size() : end);
    }
  }
  return MakeColor(components[0], components[1], components[2]);
}

Outcome WriteColorsIni(FileServices& files, const AppState& state, const SchemeColors& colors) {
  Outcome outcome;
  const auto target = SchemeWriteTarget(state, kColorsIni);
  const auto backup = target ? BackupName(*target) : std::nullopt;
  if (!backup) return outcome.Fail(Fault::ColorsIniNotSaved, SchemeFolderPath(state.SchemeName));
  if (!KeepSchemeBackup(files, *target, *backup))
    return outcome.Fail(Fault::ColorsIniNotSaved, *backup);

  FileReplacement out(files, *target);
  if (!out.Opened()) return outcome.Fail(Fault::ColorsIniNotSaved, *target);
  out.Write(kHeader);
  for (const MessageColorRow& row : kRows) {
    out.Write(ColorLine(row, colors[row.colorFrom]));
    out.Write(TextLine(row));
  }
  if (out.Commit() != FileReplacement::Result::Replaced) {
    return outcome.Fail(Fault::ColorsIniNotSaved, *target);
  }
  return outcome;
}

Outcome ReadColorsIni(FileServices& files, const AppState& state, SchemeColors& colors) {
  const auto file = OpenSchemeFileForReading(files, state, state.SchemeName, kColorsIni);
  if (!file) {
    return Outcome{}.Fail(Fault::ColorFilesUnreadable, SchemeFolderPath(state.SchemeName));
  }
  // One pass from the top: a missing key leaves the file at its end, so it and every later key
  // read as 0.
  std::string line;
  for (const MessageColorRow& row : kRows) {
    if (row.loadsInto == MessageColorRow::kNoLoad) continue;
    colors[row.loadsInto] =
        ReadLineContaining(*file, ColorKey(row), line) ? ColorLineValue(line) : 0;
  }
  return {};
}

}  // namespace quil
