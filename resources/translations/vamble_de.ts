<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>About</name>
    <message>
        <source>About Vamble</source>
        <translation>Über Vamble</translation>
    </message>
    <message>
        <source>Free software under the GNU General Public License, version 3 or later.</source>
        <translation>Freie Software unter der GNU General Public License, Version 3 oder später.</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>WAV to tagged MP3</source>
        <translation>WAV zu MP3 mit Tags</translation>
    </message>
    <message>
        <source>A GUI wrapper for the gogo MP3 encoder</source>
        <translation>Eine grafische Oberfläche für den MP3-Kodierer gogo</translation>
    </message>
</context>
<context>
    <name>AccurateRip</name>
    <message>
        <source>its size does not fit the disc&apos;s tracks</source>
        <translation>ihre Größe passt nicht zu den Stücken der CD</translation>
    </message>
    <message>
        <source>it names another disc</source>
        <translation>sie nennt eine andere CD</translation>
    </message>
</context>
<context>
    <name>CdModule</name>
    <message>
        <source>The program&apos;s part that reads discs cannot be loaded.</source>
        <translation>Der Programmteil, der CDs liest, kann nicht geladen werden.</translation>
    </message>
    <message>
        <source>CDs in drives cannot be found: the program&apos;s part that asks drives cannot be loaded.</source>
        <translation>CDs in Laufwerken können nicht gefunden werden: Der Programmteil, der Laufwerke abfragt, kann nicht geladen werden.</translation>
    </message>
</context>
<context>
    <name>ClashDialog</name>
    <message>
        <source>1 file would overwrite a file that exists or that another row writes:</source>
        <translation>1 Datei würde eine Datei überschreiben, die schon existiert oder die eine andere Zeile schreibt:</translation>
    </message>
    <message>
        <source>%1 files would overwrite files that exist or that other rows write:</source>
        <translation>%1 Dateien würden Dateien überschreiben, die schon existieren oder die andere Zeilen schreiben:</translation>
    </message>
    <message>
        <source>…and %1 more</source>
        <translation>…und %1 weitere</translation>
    </message>
    <message>
        <source>Overwrite Files?</source>
        <translation>Dateien überschreiben?</translation>
    </message>
    <message>
        <source>Overwrite</source>
        <translation>Überschreiben</translation>
    </message>
    <message>
        <source>Skip These</source>
        <translation>Diese überspringen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Skipped rows stay in the list, not done.</source>
        <translation>Übersprungene Zeilen bleiben unerledigt in der Liste.</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Usage: vamble [FILE...]
Turns WAV files into tagged MP3 files with the encoder gogo.

Opens the Vamble window. WAV files named here are added to its file list as if dropped
on it; when Vamble is already running, they go to the running window instead.

Options:
  -h, --help     print this help and exit
      --version  print the version and exit

Settings are kept in ~/.config/Xq-Vamble (or $XDG_CONFIG_HOME/Xq-Vamble).
More in the manual: man vamble
</source>
        <translation>Aufruf: vamble [DATEI...]
Wandelt WAV-Dateien mit dem Encoder gogo in MP3-Dateien mit Tags um.

Öffnet das Fenster von Vamble. Hier genannte WAV-Dateien kommen in seine Dateiliste, als
wären sie darauf gezogen worden; läuft Vamble schon, gehen sie an das laufende Fenster.

Optionen:
  -h, --help     diese Hilfe ausgeben und beenden
      --version  die Version ausgeben und beenden

Die Einstellungen stehen in ~/.config/Xq-Vamble (oder $XDG_CONFIG_HOME/Xq-Vamble).
Mehr im Handbuch: man vamble
</translation>
    </message>
</context>
<context>
    <name>CoverPicture</name>
    <message>
        <source>it cannot be read: %1</source>
        <translation>es kann nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>it is larger than 16 MiB</source>
        <translation>sie ist größer als 16 MiB</translation>
    </message>
</context>
<context>
    <name>DiscCache</name>
    <message>
        <source>the lock file keeps being replaced</source>
        <translation>die Sperrdatei wird immer wieder ersetzt</translation>
    </message>
</context>
<context>
    <name>DiscFlow</name>
    <message>
        <source>Discs cannot be looked up: the program&apos;s part that looks them up cannot be loaded.</source>
        <translation>CDs können nicht nachgeschlagen werden: Der Programmteil, der sie nachschlägt, kann nicht geladen werden.</translation>
    </message>
    <message>
        <source>Looking up the disc…</source>
        <translation>Die CD wird nachgeschlagen…</translation>
    </message>
    <message>
        <source>No release chosen: the rows keep their names</source>
        <translation>Keine Veröffentlichung gewählt: Die Zeilen behalten ihre Namen</translation>
    </message>
</context>
<context>
    <name>DiscLookup</name>
    <message>
        <source>%1 does not know this disc</source>
        <translation>%1 kennt diese CD nicht</translation>
    </message>
    <message>
        <source>%1 is busy; try Look Up Again later</source>
        <translation>%1 ist ausgelastet; versuchen Sie „Erneut nachschlagen“ später</translation>
    </message>
    <message>
        <source>%1 answered HTTP %2</source>
        <translation>%1 antwortete mit HTTP %2</translation>
    </message>
    <message>
        <source>the disc&apos;s table of contents cannot be looked up</source>
        <translation>das Inhaltsverzeichnis der CD kann nicht nachgeschlagen werden</translation>
    </message>
    <message>
        <source>looking up discs online is off</source>
        <translation>das Nachschlagen von CDs im Netz ist ausgeschaltet</translation>
    </message>
    <message>
        <source>%1 sent an answer that cannot be read</source>
        <translation>%1 schickte eine Antwort, die nicht gelesen werden kann</translation>
    </message>
    <message>
        <source>gnudb is asked once an e-mail address is set</source>
        <translation>gnudb wird gefragt, sobald eine E-Mail-Adresse eingetragen ist</translation>
    </message>
    <message>
        <source>gnudb does not know this disc</source>
        <translation>gnudb kennt diese CD nicht</translation>
    </message>
    <message>
        <source>Names from MusicBrainz</source>
        <translation>Namen von MusicBrainz</translation>
    </message>
    <message>
        <source>Names from the disc&apos;s CD-Text</source>
        <translation>Namen aus dem CD-Text der CD</translation>
    </message>
    <message>
        <source>Names from gnudb</source>
        <translation>Namen von gnudb</translation>
    </message>
    <message>
        <source>No names found for this disc</source>
        <translation>Für diese CD wurden keine Namen gefunden</translation>
    </message>
    <message>
        <source>The Cover Art Archive sent no JPEG or PNG picture</source>
        <translation>Das Cover Art Archive schickte kein JPEG- oder PNG-Bild</translation>
    </message>
</context>
<context>
    <name>DiscReader</name>
    <message>
        <source>Cannot write track %1: %2</source>
        <translation>Stück %1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Cannot read audio from the disc.</source>
        <translation>Von der CD kann kein Audio gelesen werden.</translation>
    </message>
    <message>
        <source>Cannot lock the folder %1: %2</source>
        <translation>Der Ordner %1 kann nicht gesperrt werden: %2</translation>
    </message>
    <message>
        <source>Cannot open the disc in %1.</source>
        <translation>Die CD in %1 kann nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>Cannot read audio from the disc in %1.</source>
        <translation>Von der CD in %1 kann kein Audio gelesen werden.</translation>
    </message>
    <message>
        <source>The disc in %1 has no audio tracks.</source>
        <translation>Die CD in %1 hat keine Audiotitel.</translation>
    </message>
    <message>
        <source>The CD cache cannot be used: %1</source>
        <translation>Der CD-Zwischenspeicher kann nicht verwendet werden: %1</translation>
    </message>
</context>
<context>
    <name>EncodeRun</name>
    <message>
        <source>the encoder was killed by signal %1 (%2)</source>
        <translation>der Encoder wurde durch Signal %1 beendet (%2)</translation>
    </message>
    <message>
        <source>the encoder was killed by signal %1</source>
        <translation>der Encoder wurde durch Signal %1 beendet</translation>
    </message>
    <message>
        <source>the encoder ended with status %1</source>
        <translation>der Encoder endete mit Status %1</translation>
    </message>
    <message>
        <source>the encoder ended without saying it had finished</source>
        <translation>der Encoder endete, ohne sein Ende zu melden</translation>
    </message>
    <message>
        <source>the encoder command has a double quote that is not closed</source>
        <translation>der Befehl des Encoders hat ein nicht geschlossenes doppeltes Anführungszeichen</translation>
    </message>
    <message>
        <source>the encoder command could not be split: out of memory</source>
        <translation>der Befehl des Encoders konnte nicht zerlegt werden: kein Speicher frei</translation>
    </message>
    <message>
        <source>the encoder command is empty</source>
        <translation>der Befehl des Encoders ist leer</translation>
    </message>
    <message>
        <source>the encoder could not be started</source>
        <translation>der Encoder konnte nicht gestartet werden</translation>
    </message>
    <message>
        <source>reading the encoder&apos;s output failed</source>
        <translation>die Ausgabe des Encoders konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>waiting for the encoder failed</source>
        <translation>das Warten auf den Encoder schlug fehl</translation>
    </message>
</context>
<context>
    <name>EncoderCommand</name>
    <message>
        <source>No output folder is given.</source>
        <translation>Es ist kein Zielordner angegeben.</translation>
    </message>
    <message>
        <source>No home folder is known to place the output folder %1 in.</source>
        <translation>Es ist kein persönlicher Ordner bekannt, in den der Zielordner %1 gehört.</translation>
    </message>
    <message>
        <source>The folders of %1 cannot be made.</source>
        <translation>Die Ordner für %1 können nicht angelegt werden.</translation>
    </message>
    <message>
        <source>The file %1 cannot be handed to the encoder: its path holds a double quote.</source>
        <translation>Die Datei %1 kann nicht an den Encoder übergeben werden: Ihr Pfad enthält ein doppeltes Anführungszeichen.</translation>
    </message>
    <message>
        <source>The source file %1 cannot be opened: %2</source>
        <translation>Die Quelldatei %1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>The output folder %1 cannot be made.</source>
        <translation>Der Zielordner %1 kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>The output folder %1 cannot be opened: %2</source>
        <translation>Der Zielordner %1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>There was an error creating the output directory.  Please recheck the ouput directory.</source>
        <translation>Beim Anlegen des Zielordners ist ein Fehler aufgetreten. Bitte prüfen Sie den Zielordner.</translation>
    </message>
    <message>
        <source>It seems the volume/directory you are writing to is write protect.</source>
        <translation>Das Laufwerk oder der Ordner, in das bzw. den geschrieben wird, scheint schreibgeschützt zu sein.</translation>
    </message>
</context>
<context>
    <name>FileListView</name>
    <message>
        <source>Track</source>
        <translation>Nr.</translation>
    </message>
    <message>
        <source>Filename</source>
        <translation>Dateiname</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Speichern als</translation>
    </message>
    <message>
        <source>Path To File</source>
        <translation>Pfad zur Datei</translation>
    </message>
    <message>
        <source>Output File</source>
        <translation>Zieldatei</translation>
    </message>
    <message>
        <source>Its tags could not be read (%1); it was added without them.</source>
        <translation>Ihre Tags konnten nicht gelesen werden (%1); sie wurde ohne sie hinzugefügt.</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Erledigt</translation>
    </message>
    <message>
        <source>Output file:
%1</source>
        <translation>Zieldatei:
%1</translation>
    </message>
    <message>
        <source>Done. %1</source>
        <translation>Erledigt. %1</translation>
    </message>
    <message>
        <source>Not encoded: %1</source>
        <translation>Nicht kodiert: %1</translation>
    </message>
    <message>
        <source>Row %1 (%2) has the same output file:
%3</source>
        <translation>Zeile %1 (%2) hat dieselbe Zieldatei:
%3</translation>
    </message>
    <message>
        <source>Another row has the same output file:
%1</source>
        <translation>Eine andere Zeile hat dieselbe Zieldatei:
%1</translation>
    </message>
    <message>
        <source>A file already exists at
%1</source>
        <translation>Es gibt schon eine Datei unter
%1</translation>
    </message>
</context>
<context>
    <name>FileNameTags</name>
    <message>
        <source>&quot;%1&quot; is not one of the codes %t, %a, %s, %c and %y.</source>
        <translation>„%1“ ist keiner der Codes %t, %a, %s, %c und %y.</translation>
    </message>
    <message>
        <source>The pattern has none of the codes %t, %a, %s, %c and %y.</source>
        <translation>Das Muster enthält keinen der Codes %t, %a, %s, %c und %y.</translation>
    </message>
</context>
<context>
    <name>FinishedFile</name>
    <message>
        <source>No tags were written: the file cannot be read (%1).</source>
        <translation>Es wurden keine Tags geschrieben: Die Datei kann nicht gelesen werden (%1).</translation>
    </message>
    <message>
        <source>No tags were written: the output is not a regular file.</source>
        <translation>Es wurden keine Tags geschrieben: Das Ziel ist keine gewöhnliche Datei.</translation>
    </message>
    <message>
        <source>the cover picture %1 (%2)</source>
        <translation>das Titelbild %1 (%2)</translation>
    </message>
    <message>
        <source>the ReplayGain tags (the loudness was not measured)</source>
        <translation>die ReplayGain-Tags (die Lautheit wurde nicht gemessen)</translation>
    </message>
    <message>
        <source>the ReplayGain tags (%1)</source>
        <translation>die ReplayGain-Tags (%1)</translation>
    </message>
    <message>
        <source>the ID3v1 tag (%1)</source>
        <translation>das ID3v1-Tag (%1)</translation>
    </message>
    <message>
        <source>the ID3v1 tag</source>
        <translation>das ID3v1-Tag</translation>
    </message>
    <message>
        <source>the file attributes (%1)</source>
        <translation>die Dateiattribute (%1)</translation>
    </message>
    <message>
        <source>the ID3v2 tag: %1</source>
        <translation>das ID3v2-Tag: %1</translation>
    </message>
    <message>
        <source>Not written: %1.</source>
        <translation>Nicht geschrieben: %1.</translation>
    </message>
    <message>
        <source>the front cover (it was still being downloaded when the file was encoded)</source>
        <translation>das Titelbild (es wurde noch heruntergeladen, als die Datei kodiert wurde)</translation>
    </message>
</context>
<context>
    <name>ID3v2Writer</name>
    <message>
        <source>it has an ID3v2 tag that does not begin the file</source>
        <translation>sie hat ein ID3v2-Tag, das nicht am Anfang der Datei steht</translation>
    </message>
    <message>
        <source>the file cannot be found (%1)</source>
        <translation>die Datei ist nicht zu finden (%1)</translation>
    </message>
    <message>
        <source>the file cannot be read</source>
        <translation>die Datei kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>sie ist keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>the file may not be written</source>
        <translation>die Datei darf nicht geschrieben werden</translation>
    </message>
    <message>
        <source>no complete copy could be written beside it</source>
        <translation>daneben konnte keine vollständige Kopie geschrieben werden</translation>
    </message>
    <message>
        <source>the copy could not be written to disk</source>
        <translation>die Kopie konnte nicht auf den Datenträger geschrieben werden</translation>
    </message>
    <message>
        <source>the copy came out shorter than the file</source>
        <translation>die Kopie ist kürzer als die Datei geworden</translation>
    </message>
    <message>
        <source>the copy could not replace the file</source>
        <translation>die Kopie konnte die Datei nicht ersetzen</translation>
    </message>
</context>
<context>
    <name>KeptList</name>
    <message>
        <source>it is not a list of files this program wrote</source>
        <translation>sie ist keine Dateiliste, die dieses Programm geschrieben hat</translation>
    </message>
    <message>
        <source>it has no version this program knows</source>
        <translation>sie hat keine Version, die dieses Programm kennt</translation>
    </message>
    <message>
        <source>it holds no rows</source>
        <translation>sie enthält keine Zeilen</translation>
    </message>
    <message>
        <source>a row in it is damaged</source>
        <translation>eine Zeile darin ist beschädigt</translation>
    </message>
    <message>
        <source>a newer version of the program wrote it</source>
        <translation>eine neuere Version des Programms hat sie geschrieben</translation>
    </message>
    <message>
        <source>The list of files from last time could not be taken: %1. It stays at %2.</source>
        <translation>Die Dateiliste vom letzten Mal konnte nicht übernommen werden: %1. Sie bleibt unter %2.</translation>
    </message>
    <message>
        <source>The list of files from last time could not be taken: %1. It was kept as %2.</source>
        <translation>Die Dateiliste vom letzten Mal konnte nicht übernommen werden: %1. Sie wurde als %2 aufbewahrt.</translation>
    </message>
    <message>
        <source>a cover in it is damaged</source>
        <translation>ein Titelbild darin ist beschädigt</translation>
    </message>
    <message>
        <source>it cannot be read, is no regular file or is larger than 256 MiB</source>
        <translation>sie kann nicht gelesen werden, ist keine gewöhnliche Datei oder größer als 256 MiB</translation>
    </message>
</context>
<context>
    <name>ListKeeper</name>
    <message>
        <source>The list of files cannot be kept in %1: %2</source>
        <translation>Die Dateiliste kann nicht in %1 aufbewahrt werden: %2</translation>
    </message>
</context>
<context>
    <name>LoudnessMeter</name>
    <message>
        <source>it cannot be read: %1</source>
        <translation>sie kann nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>its format cannot be measured</source>
        <translation>ihr Format kann nicht gemessen werden</translation>
    </message>
    <message>
        <source>it was not measured to its end</source>
        <translation>sie wurde nicht bis zu ihrem Ende gemessen</translation>
    </message>
    <message>
        <source>it cannot be measured</source>
        <translation>sie kann nicht gemessen werden</translation>
    </message>
</context>
<context>
    <name>LoudnessModule</name>
    <message>
        <source>the loudness module (libvamble-loudness.so) cannot be loaded</source>
        <translation>das Lautheitsmodul (libvamble-loudness.so) kann nicht geladen werden</translation>
    </message>
</context>
<context>
    <name>NameTagsDialog</name>
    <message>
        <source>Tags from File Names</source>
        <translation>Tags aus Dateinamen</translation>
    </message>
    <message>
        <source>&amp;Pattern:</source>
        <translation>&amp;Muster:</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Track</source>
        <translation>Nr.</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Artist</source>
        <translation>Interpret</translation>
    </message>
    <message>
        <source>Album</source>
        <translation>Album</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Jahr</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Anwenden</translation>
    </message>
    <message>
        <source>(no match)</source>
        <translation>(kein Treffer)</translation>
    </message>
    <message>
        <source>%1 of %2 file matches.</source>
        <translation>%1 von %2 Datei passt.</translation>
    </message>
    <message>
        <source>%1 of %2 files match; Apply sets their tags, the others stay as they are.</source>
        <translation>%1 von %2 Dateien passen; „Anwenden“ setzt ihre Tags, die anderen bleiben, wie sie sind.</translation>
    </message>
    <message>
        <source>%t track, %a artist, %s title, %c album, %y year; &quot;/&quot; reads the folder above, as in:
%1</source>
        <translation>%t Titelnummer, %a Interpret, %s Titel, %c Album, %y Jahr; „/“ liest den Ordner darüber, wie in:
%1</translation>
    </message>
</context>
<context>
    <name>OwnFiles</name>
    <message>
        <source>%1 is a symbolic link, which is not followed</source>
        <translation>%1 ist ein symbolischer Link, dem nicht gefolgt wird</translation>
    </message>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 ist kein Ordner</translation>
    </message>
    <message>
        <source>%1 belongs to another user</source>
        <translation>%1 gehört einem anderen Benutzer</translation>
    </message>
</context>
<context>
    <name>PacedHttp</name>
    <message>
        <source>sent too much</source>
        <translation>schickte zu viel</translation>
    </message>
    <message>
        <source>did not answer in time</source>
        <translation>antwortete nicht rechtzeitig</translation>
    </message>
    <message>
        <source>could not be reached (%1)</source>
        <translation>war nicht erreichbar (%1)</translation>
    </message>
    <message>
        <source>is too slow to answer</source>
        <translation>antwortet zu langsam</translation>
    </message>
</context>
<context>
    <name>ReleaseChooser</name>
    <message>
        <source>Choose the Release</source>
        <translation>Veröffentlichung wählen</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Artist</source>
        <translation>Interpret</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Country</source>
        <translation>Land</translation>
    </message>
    <message>
        <source>Label</source>
        <translation>Label</translation>
    </message>
    <message>
        <source>Catalogue Number</source>
        <translation>Katalognummer</translation>
    </message>
    <message>
        <source>Barcode</source>
        <translation>Barcode</translation>
    </message>
    <message>
        <source>Tracks</source>
        <translation>Stücke</translation>
    </message>
    <message>
        <source>%1 (disc %2 of %3)</source>
        <translation>%1 (CD %2 von %3)</translation>
    </message>
    <message>
        <source>Use This Release</source>
        <translation>Diese Veröffentlichung verwenden</translation>
    </message>
    <message>
        <source>None of these</source>
        <translation>Keine davon</translation>
    </message>
    <message>
        <source>Several releases hold the disc “%1”. Which is yours?</source>
        <translation>Mehrere Veröffentlichungen enthalten die CD „%1“. Welche ist Ihre?</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>Tracks: %1</source>
        <translation>Stücke: %1</translation>
    </message>
</context>
<context>
    <name>RunMonitor</name>
    <message>
        <source>Encoding finished</source>
        <translation>Kodierung beendet</translation>
    </message>
    <message>
        <source>1 file encoded.</source>
        <translation>1 Datei kodiert.</translation>
    </message>
    <message>
        <source>%1 files encoded.</source>
        <translation>%1 Dateien kodiert.</translation>
    </message>
    <message>
        <source>Encoding stopped</source>
        <translation>Kodierung angehalten</translation>
    </message>
    <message>
        <source>%1 of %2 files encoded.</source>
        <translation>%1 von %2 Dateien kodiert.</translation>
    </message>
    <message>
        <source>Encoding failed</source>
        <translation>Kodierung fehlgeschlagen</translation>
    </message>
</context>
<context>
    <name>RunStatusView</name>
    <message>
        <source>Time left: %1:%2:%3</source>
        <translation>Restzeit: %1:%2:%3</translation>
    </message>
    <message>
        <source>Time left: %1:%2</source>
        <translation>Restzeit: %1:%2</translation>
    </message>
    <message>
        <source>Whole run</source>
        <translation>Gesamter Durchlauf</translation>
    </message>
    <message>
        <source>All files: %p%</source>
        <translation>Alle Dateien: %p%</translation>
    </message>
</context>
<context>
    <name>SmallView</name>
    <message>
        <source>%1 File</source>
        <translation>%1 Datei</translation>
    </message>
    <message>
        <source>%1 Files</source>
        <translation>%1 Dateien</translation>
    </message>
</context>
<context>
    <name>TagsModule</name>
    <message>
        <source>the program&apos;s tags module cannot be loaded</source>
        <translation>das Tag-Modul des Programms kann nicht geladen werden</translation>
    </message>
</context>
<context>
    <name>VambleWindow</name>
    <message>
        <source>GoGo Settings</source>
        <translation>GoGo-Einstellungen</translation>
    </message>
    <message>
        <source>MP3 Tags</source>
        <translation>MP3-Tags</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Columns</source>
        <translation>&amp;Spalten</translation>
    </message>
    <message>
        <source>%1 CD</source>
        <translation>%1 CD</translation>
    </message>
    <message>
        <source>%1 CDs</source>
        <translation>%1 CDs</translation>
    </message>
    <message>
        <source>Read from the CD with %1 sectors (%2 s) that could not be read exactly.</source>
        <translation>Von der CD gelesen, mit %1 Sektoren (%2 s), die nicht genau gelesen werden konnten.</translation>
    </message>
    <message>
        <source>Track %1 could not be read.</source>
        <translation>Stück %1 konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>Track %1: %2 sectors (%3 s) could not be read exactly.</source>
        <translation>Stück %1: %2 Sektoren (%3 s) konnten nicht genau gelesen werden.</translation>
    </message>
    <message>
        <source>Alert</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>The CD can be read once encoding has finished or is stopped.</source>
        <translation>Die CD kann gelesen werden, sobald die Kodierung beendet oder angehalten ist.</translation>
    </message>
    <message>
        <source>Reading CD…</source>
        <translation>CD wird gelesen…</translation>
    </message>
    <message>
        <source>Encoding File: </source>
        <translation>Kodiere Datei: </translation>
    </message>
    <message>
        <source>Waiting for another reading of this CD…</source>
        <translation>Warte auf einen anderen Lesevorgang dieser CD…</translation>
    </message>
    <message>
        <source>Reading CD track %1 (%2 of %3)</source>
        <translation>Lese Stück %1 der CD (%2 von %3)</translation>
    </message>
    <message>
        <source>Choose the CD again to read them again, or add the damaged tracks as they are.</source>
        <translation>Wählen Sie die CD erneut, um sie noch einmal zu lesen, oder fügen Sie die beschädigten Stücke so hinzu, wie sie sind.</translation>
    </message>
    <message>
        <source>Add Anyway</source>
        <translation>Trotzdem hinzufügen</translation>
    </message>
    <message>
        <source>Leave Out</source>
        <translation>Weglassen</translation>
    </message>
    <message>
        <source>The CD cache can be cleared once the CD has been read.</source>
        <translation>Der CD-Zwischenspeicher kann geleert werden, sobald die CD gelesen ist.</translation>
    </message>
    <message>
        <source>The CD cache is empty.</source>
        <translation>Der CD-Zwischenspeicher ist leer.</translation>
    </message>
    <message>
        <source>The CD cache holds %1 read from %2, in %3.

Clear it?</source>
        <translation>Der CD-Zwischenspeicher enthält %1, gelesen von %2, in %3.

Leeren?</translation>
    </message>
    <message>
        <source>%1 of the list, not encoded yet, use its files and could not be encoded any more.</source>
        <translation>Noch nicht kodierte Zeilen der Liste (%1) verwenden seine Dateien und könnten danach nicht mehr kodiert werden.</translation>
    </message>
    <message>
        <source>%1 row</source>
        <translation>%1 Zeile</translation>
    </message>
    <message>
        <source>%1 rows</source>
        <translation>%1 Zeilen</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>%1 being read by another program stayed in the cache.</source>
        <translation>%1, die gerade ein anderes Programm liest, blieben im Zwischenspeicher.</translation>
    </message>
    <message>
        <source>The row is no longer in the list.</source>
        <translation>Die Zeile ist nicht mehr in der Liste.</translation>
    </message>
    <message>
        <source>Files Remaining: %1</source>
        <translation>Verbleibende Dateien: %1</translation>
    </message>
    <message>
        <source>The file “%1” was not encoded: %2</source>
        <translation>Die Datei „%1“ wurde nicht kodiert: %2</translation>
    </message>
    <message>
        <source>The file “%1” cannot be encoded: %2</source>
        <translation>Die Datei „%1“ kann nicht kodiert werden: %2</translation>
    </message>
    <message>
        <source>1 file was not encoded because its output file exists or another row writes it; its row is marked.</source>
        <translation>1 Datei wurde nicht kodiert, weil ihre Zieldatei schon existiert oder eine andere Zeile sie schreibt; ihre Zeile ist markiert.</translation>
    </message>
    <message>
        <source>%1 files were not encoded because their output files exist or other rows write them; their rows are marked.</source>
        <translation>%1 Dateien wurden nicht kodiert, weil ihre Zieldateien schon existieren oder andere Zeilen sie schreiben; ihre Zeilen sind markiert.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source> (exists)</source>
        <translation> (existiert)</translation>
    </message>
    <message>
        <source> (also written by an earlier row)</source>
        <translation> (auch von einer früheren Zeile geschrieben)</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Auswählen</translation>
    </message>
    <message>
        <source>Set this to the number of processors
you want to be utilized.</source>
        <translation>Die Zahl der Prozessoren,
die genutzt werden sollen.</translation>
    </message>
    <message>
        <source>Variable Bit Rate.  Values range for 0 to 9,
0 being high quality and 9 being high compression.</source>
        <translation>Variable Bitrate. Werte von 0 bis 9,
0 für hohe Qualität, 9 für hohe Kompression.</translation>
    </message>
    <message>
        <source>Drag and Drop a folder onto this to set
output directory where the file will be saved.</source>
        <translation>Ziehen Sie einen Ordner hierher, um den Zielordner
festzulegen, in dem die Datei gespeichert wird.</translation>
    </message>
    <message>
        <source>Stop the encoding.</source>
        <translation>Die Kodierung anhalten.</translation>
    </message>
    <message>
        <source>Drag wav files here to encode.</source>
        <translation>Ziehen Sie WAV-Dateien zum Kodieren hierher.</translation>
    </message>
    <message>
        <source>Check the tags that you only want
to apply for the selected files.</source>
        <translation>Kreuzen Sie die Tags an, die nur auf
die ausgewählten Dateien angewandt werden sollen.</translation>
    </message>
    <message>
        <source>File being encoded will be deleted
after encoding is complete.</source>
        <translation>Die Eingabedatei wird gelöscht,
sobald sie fertig kodiert ist.</translation>
    </message>
    <message>
        <source>Select an audio CD to retrieve files from.</source>
        <translation>Wählen Sie eine Audio-CD, von der Dateien geholt werden.</translation>
    </message>
    <message>
        <source>Select the type of music that applies to this song.</source>
        <translation>Wählen Sie die Musikrichtung dieses Stücks.</translation>
    </message>
    <message>
        <source>This sets the priority of the encoding thread.</source>
        <translation>Die Priorität des Kodiervorgangs.</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>About…</source>
        <translation>Über…</translation>
    </message>
    <message>
        <source>Add Files…</source>
        <translation>Dateien hinzufügen…</translation>
    </message>
    <message>
        <source>Rescan for CDs</source>
        <translation>Erneut nach CDs suchen</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Alles auswählen</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Tags from File Names…</source>
        <translation>Tags aus Dateinamen…</translation>
    </message>
    <message>
        <source>Clear CD Cache…</source>
        <translation>CD-Zwischenspeicher leeren…</translation>
    </message>
    <message>
        <source>Menu bar</source>
        <translation>Menüleiste</translation>
    </message>
    <message>
        <source>Bitrate:</source>
        <translation>Bitrate:</translation>
    </message>
    <message>
        <source>Output Format:</source>
        <translation>Ausgabeformat:</translation>
    </message>
    <message>
        <source># of CPUs:</source>
        <translation>Anzahl CPUs:</translation>
    </message>
    <message>
        <source>Priority:</source>
        <translation>Priorität:</translation>
    </message>
    <message>
        <source>VBR:</source>
        <translation>VBR:</translation>
    </message>
    <message>
        <source>Enable VBR</source>
        <translation>VBR einschalten</translation>
    </message>
    <message>
        <source>Delete input file after encoding</source>
        <translation>Eingabedatei nach dem Kodieren löschen</translation>
    </message>
    <message>
        <source>Disable psycho-acoustics</source>
        <translation>Psychoakustik ausschalten</translation>
    </message>
    <message>
        <source>Save in:</source>
        <translation>Speichern in:</translation>
    </message>
    <message>
        <source>Select Dir</source>
        <translation>Ordner wählen</translation>
    </message>
    <message>
        <source>Album:</source>
        <translation>Album:</translation>
    </message>
    <message>
        <source>Artist:</source>
        <translation>Interpret:</translation>
    </message>
    <message>
        <source>Song Title:</source>
        <translation>Titel:</translation>
    </message>
    <message>
        <source>Comment:</source>
        <translation>Kommentar:</translation>
    </message>
    <message>
        <source>Year:</source>
        <translation>Jahr:</translation>
    </message>
    <message>
        <source>Genre:</source>
        <translation>Genre:</translation>
    </message>
    <message>
        <source>Album</source>
        <translation>Album</translation>
    </message>
    <message>
        <source>Comment</source>
        <translation>Kommentar</translation>
    </message>
    <message>
        <source>Artist</source>
        <translation>Interpret</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Jahr</translation>
    </message>
    <message>
        <source>Song Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Genre</source>
        <translation>Genre</translation>
    </message>
    <message>
        <source>Apply Tags</source>
        <translation>Tags anwenden</translation>
    </message>
    <message>
        <source>Only Apply These ID3 Tags</source>
        <translation>Nur diese ID3-Tags anwenden</translation>
    </message>
    <message>
        <source>Output filename as:</source>
        <translation>Zieldateiname:</translation>
    </message>
    <message>
        <source>Add .mp3 file extension to file.</source>
        <translation>Dateiendung .mp3 anhängen.</translation>
    </message>
    <message>
        <source>Enable Tooltips.</source>
        <translation>Tooltips einschalten.</translation>
    </message>
    <message>
        <source>Also write ID3v2 tags</source>
        <translation>Auch ID3v2-Tags schreiben</translation>
    </message>
    <message>
        <source>Embed cover art</source>
        <translation>Titelbild einbetten</translation>
    </message>
    <message>
        <source>Write ReplayGain tags</source>
        <translation>ReplayGain-Tags schreiben</translation>
    </message>
    <message>
        <source>Files at once:</source>
        <translation>Dateien gleichzeitig:</translation>
    </message>
    <message>
        <source>%s = Song Title;  %n = Save As Name;  %c = Album</source>
        <translation>%s = Titel;  %n = Name unter „Speichern als“;  %c = Album</translation>
    </message>
    <message>
        <source>%a = Artist;  %y = Year;  %t = Track #</source>
        <translation>%a = Interpret;  %y = Jahr;  %t = Titelnummer</translation>
    </message>
    <message>
        <source>Files Remaining: </source>
        <translation>Verbleibende Dateien: </translation>
    </message>
    <message>
        <source>Encoding progress</source>
        <translation>Kodierfortschritt</translation>
    </message>
    <message>
        <source>Encoding Status</source>
        <translation>Kodierstatus</translation>
    </message>
    <message>
        <source>Get Files from CD:</source>
        <translation>Dateien von CD holen:</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Anhalten</translation>
    </message>
    <message>
        <source>Encode</source>
        <translation>Kodieren</translation>
    </message>
    <message>
        <source>Add Files</source>
        <translation>Dateien hinzufügen</translation>
    </message>
    <message>
        <source>Stop Encoding?</source>
        <translation>Kodierung anhalten?</translation>
    </message>
    <message>
        <source>Files are being encoded. Stop encoding and quit?</source>
        <translation>Es werden Dateien kodiert. Kodierung anhalten und beenden?</translation>
    </message>
    <message>
        <source>Stop and Quit</source>
        <translation>Anhalten und beenden</translation>
    </message>
    <message>
        <source>Look Up Again</source>
        <translation>Erneut nachschlagen</translation>
    </message>
    <message>
        <source>Look up discs online</source>
        <translation>CDs im Netz nachschlagen</translation>
    </message>
    <message>
        <source>gnudb e-mail:</source>
        <translation>E-Mail für gnudb:</translation>
    </message>
    <message>
        <source>The CD cache cannot be used: %1</source>
        <translation>Der CD-Zwischenspeicher kann nicht verwendet werden: %1</translation>
    </message>
    <message>
        <source>Reading the tags of the files added…</source>
        <translation>Die Tags der hinzugefügten Dateien werden gelesen…</translation>
    </message>
    <message>
        <source>Look Up Again looks up the selected rows of a CD that are not encoded yet; none are selected.</source>
        <translation>„Erneut nachschlagen“ schlägt die ausgewählten, noch nicht kodierten Zeilen einer CD nach; es sind keine ausgewählt.</translation>
    </message>
    <message>
        <source>The name of each MP3 file: %s song title, %n Save As name, %c album,
%a artist, %A album artist, %y year, %t track, %d disc of several;
a / makes folders, as in %A/%c/%d-%t-%s.</source>
        <translation>Der Name jeder MP3-Datei: %s Titel, %n Name unter „Speichern als“, %c Album,
%a Interpret, %A Album-Interpret, %y Jahr, %t Titelnummer, %d CD von mehreren;
ein / legt Ordner an, wie in %A/%c/%d-%t-%s.</translation>
    </message>
    <message>
        <source>%d = Disc # (of several);  %A = Album Artist</source>
        <translation>%d = CD-Nr. (von mehreren);  %A = Album-Interpret</translation>
    </message>
</context>
<context>
    <name>WavTagLoader</name>
    <message>
        <source>Its WAV file is gone.</source>
        <translation>Ihre WAV-Datei ist nicht mehr da.</translation>
    </message>
    <message>
        <source>Its file is no longer a WAV file.</source>
        <translation>Ihre Datei ist keine WAV-Datei mehr.</translation>
    </message>
</context>
<context>
    <name>WavTags</name>
    <message>
        <source>its LIST chunk reaches past the end of the file</source>
        <translation>ihr LIST-Block reicht über das Ende der Datei hinaus</translation>
    </message>
    <message>
        <source>its id3 chunk reaches past the end of the file</source>
        <translation>ihr id3-Block reicht über das Ende der Datei hinaus</translation>
    </message>
    <message>
        <source>its id3 chunk holds no whole ID3v2 tag</source>
        <translation>ihr id3-Block enthält kein vollständiges ID3v2-Tag</translation>
    </message>
    <message>
        <source>its INFO list is damaged</source>
        <translation>ihre INFO-Liste ist beschädigt</translation>
    </message>
    <message>
        <source>a chunk that carries its tags is too large to be read</source>
        <translation>ein Block mit ihren Tags ist zu groß, um gelesen zu werden</translation>
    </message>
</context>
<context>
    <name>XqFilePanel</name>
    <message>
        <source>Select Current Directory</source>
        <translation>Aktuellen Ordner wählen</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>vamble: no graphical display (neither DISPLAY nor WAYLAND_DISPLAY is set); start Vamble from a desktop session.</source>
        <translation>vamble: keine grafische Anzeige (weder DISPLAY noch WAYLAND_DISPLAY ist gesetzt); starten Sie Vamble aus einer Desktop-Sitzung.</translation>
    </message>
    <message>
        <source>vamble: cannot open the display &quot;%1&quot;; check that it is running and that you may use it.</source>
        <translation>vamble: die Anzeige „%1“ kann nicht geöffnet werden; prüfen Sie, ob sie läuft und Sie sie verwenden dürfen.</translation>
    </message>
</context>
</TS>
