<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
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
</context>
</TS>
