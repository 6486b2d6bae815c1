#pragma once

// Every text of the feed list's import and export that a user may see.

namespace tarnwick::opml {

// Why a file cannot be imported; each is followed by the file's name or the parser's words.
inline constexpr char kCannotReadPrefix[] = "The feed list cannot be read: ";
inline constexpr char kNotWellFormedPrefix[] = "The feed list is not well-formed XML: ";
inline constexpr char kNotOpmlPrefix[] = "The feed list is not an OPML document: its root element is <";
inline constexpr char kNotOpmlSuffix[] = ">, not <opml>.";
inline constexpr char kNoBodyText[] = "The feed list is not an OPML document: it has no <body>.";
/// Ends the text of a file that cannot be imported.
inline constexpr char kNothingAddedText[] = " No feed was added.";

// Why one outline of a list is not added as a feed.
inline constexpr char kNoAddressReason[] = "it has no feed address (xmlUrl)";
inline constexpr char kAddressTooLongReason[] = "its feed address is longer than 254 characters";
inline constexpr char kAddressWithBlanksReason[] = "its feed address holds blanks or control characters";
inline constexpr char kDuplicateAddressPrefix[] = "the feed \"";
inline constexpr char kDuplicateAddressSuffix[] = "\" has this address already";
inline constexpr char kNoAliasReason[] = "it has no title to name the feed by";
inline constexpr char kNoUniqueAliasReason[] = "no free alias is left for its title";
inline constexpr char kReservedNewsboxPrefix[] = "the mailbox \"";
inline constexpr char kReservedNewsboxSuffix[] = "\" cannot receive a feed's articles";
inline constexpr char kNoNewsboxPrefix[] = "the mailbox \"";
inline constexpr char kNoNewsboxSuffix[] = "\" for its articles cannot be made";
inline constexpr char kNotWrittenReason[] = "the settings file cannot be written";

// The report of an import, one line per outline and a count at the end.
inline constexpr char kAddedPrefix[] = "Added \"";
inline constexpr char kAddedNewsboxInfix[] = ", delivering into \"";
inline constexpr char kAddedNewsboxSuffix[] = "\"";
/// Follows an added feed whose alias, name or newsbox was cut.
inline constexpr char kCutToFitText[] = " (its name cut to fit the settings file)";
inline constexpr char kSkippedPrefix[] = "Skipped \"";
inline constexpr char kTitleEnd[] = "\"";
inline constexpr char kAddressOpen[] = " (";
inline constexpr char kAddressClose[] = ")";
inline constexpr char kReasonInfix[] = ": ";
inline constexpr char kLineEnd[] = ".\n";
inline constexpr char kAddedCountSuffix[] = " feed(s) added, ";
inline constexpr char kSkippedCountSuffix[] = " skipped.";
/// Stands for an outline without a title in the report.
inline constexpr char kUntitled[] = "(untitled)";

// The exported list.
inline constexpr char kExportTitle[] = "Tarnwick feeds";
inline constexpr char kCannotWritePrefix[] = "The feed list cannot be written to ";

}  // namespace tarnwick::opml
