<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>TMyLocateDialog</name>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>DataSource does not reference an active DataSet</source>
        <translation>Die Datenquelle verweist auf keine geöffnete Datenmenge</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>DataSource does not refer to an active table!</source>
        <translation>Die Datenquelle verweist auf keine geöffnete Tabelle!</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>No more matches found</source>
        <translation>Keine weiteren Treffer gefunden</translation>
    </message>
    <message>
        <source>Field %1 not found.</source>
        <translation>Feld %1 nicht gefunden.</translation>
    </message>
    <message>
        <source>Locate Field Value</source>
        <translation>Feldwert finden</translation>
    </message>
</context>
<context>
    <name>TViewConfig</name>
    <message>
        <source>%1 and %2</source>
        <translation>%1 und %2</translation>
    </message>
</context>
<context>
    <name>app::HelpWindow</name>
    <message>
        <source>Reelkeeper Videos 95 Help</source>
        <translation>Reelkeeper Videos 95 Hilfe</translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation>&amp;Vorwärts</translation>
    </message>
    <message>
        <source>Find in the help</source>
        <translation>In der Hilfe suchen</translation>
    </message>
    <message>
        <source>Fi&amp;nd</source>
        <translation>&amp;Suchen</translation>
    </message>
    <message>
        <source>Sections of the help</source>
        <translation>Abschnitte der Hilfe</translation>
    </message>
    <message>
        <source>Help page</source>
        <translation>Hilfeseite</translation>
    </message>
    <message>
        <source>en</source>
        <comment>the folder of the help book in this language</comment>
        <translation>de</translation>
    </message>
</context>
<context>
    <name>app::LockWaitNotice</name>
    <message>
        <source>Another copy of the program is reading or changing this collection.  Waiting until it is done...</source>
        <translation>Eine andere Kopie des Programms liest oder ändert diese Sammlung.  Es wird gewartet, bis sie fertig ist...</translation>
    </message>
</context>
<context>
    <name>app::MyNavigator</name>
    <message>
        <source>First record</source>
        <translation>Erster Datensatz</translation>
    </message>
    <message>
        <source>Prior record</source>
        <translation>Vorheriger Datensatz</translation>
    </message>
    <message>
        <source>Next record</source>
        <translation>Nächster Datensatz</translation>
    </message>
    <message>
        <source>Last record</source>
        <translation>Letzter Datensatz</translation>
    </message>
    <message>
        <source>Insert record</source>
        <translation>Datensatz einfügen</translation>
    </message>
    <message>
        <source>Delete record</source>
        <translation>Datensatz löschen</translation>
    </message>
    <message>
        <source>Edit record</source>
        <translation>Datensatz bearbeiten</translation>
    </message>
    <message>
        <source>Post edit</source>
        <translation>Änderung speichern</translation>
    </message>
    <message>
        <source>Cancel edit</source>
        <translation>Änderung verwerfen</translation>
    </message>
    <message>
        <source>Refresh data</source>
        <translation>Daten auffrischen</translation>
    </message>
</context>
<context>
    <name>app::TMain</name>
    <message>
        <source>Videos</source>
        <translation>Videos</translation>
    </message>
    <message>
        <source>SEARCH ON</source>
        <translation>SUCHE AKTIV</translation>
    </message>
    <message>
        <source>Filter (Ctrl+K)</source>
        <translation>Filter (Strg+K)</translation>
    </message>
    <message>
        <source>Quick filter</source>
        <translation>Schnellfilter</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;New Database</source>
        <translation>&amp;Neue Datenbank</translation>
    </message>
    <message>
        <source>&amp;Open Database</source>
        <translation>Datenbank ö&amp;ffnen</translation>
    </message>
    <message>
        <source>&amp;Update Database</source>
        <translation>Datenbank &amp;aktualisieren</translation>
    </message>
    <message>
        <source>&amp;Back Up Data</source>
        <translation>Daten &amp;sichern</translation>
    </message>
    <message>
        <source>&amp;Restore Data</source>
        <translation>Daten &amp;wiederherstellen</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Drucken</translation>
    </message>
    <message>
        <source>Printer &amp;Setup</source>
        <translation>Drucker&amp;einrichtung</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Records</source>
        <translation>Daten&amp;sätze</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Import</source>
        <translation>&amp;Importieren</translation>
    </message>
    <message>
        <source>E&amp;xport</source>
        <translation>E&amp;xportieren</translation>
    </message>
    <message>
        <source>&amp;Lent Out</source>
        <translation>&amp;Verliehen</translation>
    </message>
    <message>
        <source>Navi&amp;gate</source>
        <translation>&amp;Navigieren</translation>
    </message>
    <message>
        <source>&amp;Search (Query)</source>
        <translation>&amp;Suchen (Abfrage)</translation>
    </message>
    <message>
        <source>&amp;End Search</source>
        <translation>Suche be&amp;enden</translation>
    </message>
    <message>
        <source>&amp;Locate</source>
        <translation>&amp;Finden</translation>
    </message>
    <message>
        <source>Locate &amp;Next</source>
        <translation>&amp;Weitersuchen</translation>
    </message>
    <message>
        <source>&amp;Reports</source>
        <translation>&amp;Berichte</translation>
    </message>
    <message>
        <source>&amp;Viewer</source>
        <translation>&amp;Anzeige</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Optionen</translation>
    </message>
    <message>
        <source>Sort &amp;Order</source>
        <translation>&amp;Sortierfolge</translation>
    </message>
    <message>
        <source>Screen Si&amp;ze</source>
        <translation>Bildschirm&amp;größe</translation>
    </message>
    <message>
        <source>&amp;Screen Access</source>
        <translation>Sc&amp;haltflächen</translation>
    </message>
    <message>
        <source>&amp;Speed Buttons</source>
        <translation>&amp;Symbolleiste</translation>
    </message>
    <message>
        <source>&amp;Lettered Buttons</source>
        <translation>&amp;Beschriftete Knöpfe</translation>
    </message>
    <message>
        <source>&amp;None</source>
        <translation>&amp;Keine</translation>
    </message>
    <message>
        <source>&amp;Color</source>
        <translation>&amp;Farbe</translation>
    </message>
    <message>
        <source>&amp;Main Window Color</source>
        <translation>&amp;Hauptfenster</translation>
    </message>
    <message>
        <source>&amp;Edit Window Color</source>
        <translation>&amp;Eingabefenster</translation>
    </message>
    <message>
        <source>&amp;Search Window Color</source>
        <translation>&amp;Suchfenster</translation>
    </message>
    <message>
        <source>&amp;Report Window Color</source>
        <translation>&amp;Berichtsfenster</translation>
    </message>
    <message>
        <source>&amp;Configure Window Color</source>
        <translation>&amp;Konfigurationsfenster</translation>
    </message>
    <message>
        <source>&amp;ALL Windows Color</source>
        <translation>&amp;Alle Fenster</translation>
    </message>
    <message>
        <source>List &amp;Maintenance</source>
        <translation>&amp;Listenpflege</translation>
    </message>
    <message>
        <source>C&amp;urrency Format</source>
        <translation>&amp;Währungsformat</translation>
    </message>
    <message>
        <source>&amp;Numeric Format</source>
        <translation>&amp;Zahlenformat</translation>
    </message>
    <message>
        <source>&amp;U.S. Dollars</source>
        <translation>&amp;US-Dollar</translation>
    </message>
    <message>
        <source>&amp;Windows Setting</source>
        <translation>&amp;Systemeinstellung</translation>
    </message>
    <message>
        <source>&amp;U.S. Format</source>
        <translation>&amp;US-Format</translation>
    </message>
    <message>
        <source>&amp;Date Format</source>
        <translation>&amp;Datumsformat</translation>
    </message>
    <message>
        <source>&amp;Leading Zeros</source>
        <translation>&amp;Führende Nullen</translation>
    </message>
    <message>
        <source>&amp;Label Font</source>
        <translation>Schrift der &amp;Beschriftungen</translation>
    </message>
    <message>
        <source>&amp;Edit Font</source>
        <translation>Schrift der &amp;Eingabefelder</translation>
    </message>
    <message>
        <source>&amp;Button Font</source>
        <translation>Schrift der &amp;Knöpfe</translation>
    </message>
    <message>
        <source>L&amp;anguage</source>
        <translation>Spr&amp;ache</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>&amp;Werkzeuge</translation>
    </message>
    <message>
        <source>&amp;Search and Replace</source>
        <translation>&amp;Suchen und Ersetzen</translation>
    </message>
    <message>
        <source>&amp;Rebuild Indexes</source>
        <translation>&amp;Indizes neu aufbauen</translation>
    </message>
    <message>
        <source>&amp;Pack Database</source>
        <translation>Datenbank &amp;packen</translation>
    </message>
    <message>
        <source>Find &amp;Duplicates</source>
        <translation>&amp;Doppelte finden</translation>
    </message>
    <message>
        <source>S&amp;tatistics</source>
        <translation>S&amp;tatistik</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>&amp;Review &quot;Tips of the Day&quot;</source>
        <translation>&amp;Tipps des Tages ansehen</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Reelkeeper Videos 95
A database manager for a private video collection.
Version %1</source>
        <translation>Reelkeeper Videos 95
Eine Datenbank für eine private Videosammlung.
Version %1</translation>
    </message>
    <message>
        <source>Other &amp;Products</source>
        <translation>Weitere &amp;Produkte</translation>
    </message>
    <message>
        <source>Other Products</source>
        <translation>Weitere Produkte</translation>
    </message>
    <message>
        <source>Reelkeeper Videos 95 is the only product of its makers.</source>
        <translation>Reelkeeper Videos 95 ist das einzige Produkt seiner Hersteller.</translation>
    </message>
    <message>
        <source>&amp;Follow the Desktop</source>
        <translation>Desktop-Einstellung &amp;folgen</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>The program speaks the chosen language from its next start.</source>
        <translation>Das Programm spricht die gewählte Sprache ab seinem nächsten Start.</translation>
    </message>
    <message>
        <source>Video Viewer</source>
        <translation>Videoanzeige</translation>
    </message>
    <message>
        <source>Navigation Controls</source>
        <translation>Navigation</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Open Database File</source>
        <translation>Datenbankdatei öffnen</translation>
    </message>
    <message>
        <source>The last database used as recorded in the INI file is not a valid Reelkeeper Videos 95 file.  You will need to choose a new file.</source>
        <translation>Die in der INI-Datei vermerkte zuletzt benutzte Datenbank ist keine gültige Reelkeeper-Videos-95-Datei.  Sie müssen eine neue Datei wählen.</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Invalid file type selected.</source>
        <translation>Ungültiger Dateityp gewählt.</translation>
    </message>
    <message>
        <source>New Database File</source>
        <translation>Neue Datenbankdatei</translation>
    </message>
    <message>
        <source>The table &quot;%1&quot; is currently in use by another program.  New table creation will be aborted.</source>
        <translation>Die Tabelle &quot;%1&quot; wird gerade von einem anderen Programm benutzt.  Das Anlegen der neuen Tabelle wird abgebrochen.</translation>
    </message>
    <message>
        <source>A database from a previous version (%1) has been detected.  Would you like to convert it now?  NOTE: After conversion the old file will be deleted.  You may wish to make a copy of &quot;%2&quot; first.</source>
        <translation>Eine Datenbank einer früheren Version (%1) wurde gefunden.  Möchten Sie sie jetzt umwandeln?  HINWEIS: Nach der Umwandlung wird die alte Datei gelöscht.  Vielleicht möchten Sie vorher eine Kopie von &quot;%2&quot; anlegen.</translation>
    </message>
    <message>
        <source>Convert</source>
        <translation>Umwandeln</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
    <message>
        <source>Deleted items are not permanently removed from the database until packing occurs.  Packing simply removes them to free up space.  Continue?</source>
        <translation>Gelöschte Einträge werden erst beim Packen endgültig aus der Datenbank entfernt.  Das Packen entfernt sie, um Platz zu schaffen.  Fortfahren?</translation>
    </message>
    <message>
        <source>Unable to pack table.  Packing requires exclusive use of the DBase File.  %1</source>
        <translation>Die Tabelle kann nicht gepackt werden.  Das Packen braucht die dBASE-Datei für sich allein.  %1</translation>
    </message>
    <message>
        <source>Notice</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>Packed: %1.</source>
        <translation>Gepackt: %1.</translation>
    </message>
    <message>
        <source>It is possible for your index files to become corrupted.  As a result, some items may not show up in the viewer or in reports.  This will rebuild your index files correctly.  Continue?</source>
        <translation>Indexdateien können beschädigt werden.  Dann erscheinen manche Einträge nicht in der Anzeige oder in Berichten.  Hiermit werden Ihre Indexdateien richtig neu aufgebaut.  Fortfahren?</translation>
    </message>
    <message>
        <source>Unable to reindex table.  Reindexing requires exclusive use of the DBase File.  %1</source>
        <translation>Die Indizes der Tabelle können nicht neu aufgebaut werden.  Das braucht die dBASE-Datei für sich allein.  %1</translation>
    </message>
    <message>
        <source>Delete this record?</source>
        <translation>Diesen Datensatz löschen?</translation>
    </message>
    <message>
        <source>Your current screen resolution does not support %1 pixels.</source>
        <translation>Ihre aktuelle Bildschirmauflösung erlaubt keine %1 Bildpunkte.</translation>
    </message>
    <message>
        <source>Convert to &amp;Unicode</source>
        <translation>In &amp;Unicode umwandeln</translation>
    </message>
    <message>
        <source>This collection already keeps its text in Unicode: titles in any script can be typed and imported into it.</source>
        <translation>Diese Sammlung speichert ihren Text bereits in Unicode: Titel in jeder Schrift können eingegeben und importiert werden.</translation>
    </message>
    <message>
        <source>This collection keeps its text in Windows-1252, which holds Western European letters only.  Converting it to Unicode lets it hold titles in any script; every record keeps its text.  Older programs that read the collection file will need to be told its character set (UTF-8).  Continue?</source>
        <translation>Diese Sammlung speichert ihren Text in Windows-1252, das nur westeuropäische Buchstaben kennt.  In Unicode umgewandelt kann sie Titel in jeder Schrift aufnehmen; jeder Datensatz behält seinen Text.  Älteren Programmen, die die Sammlungsdatei lesen, muss dann der Zeichensatz (UTF-8) angegeben werden.  Fortfahren?</translation>
    </message>
    <message>
        <source>Unable to convert table.  Converting requires exclusive use of the DBase File.  %1</source>
        <translation>Die Tabelle kann nicht umgewandelt werden.  Das Umwandeln braucht die dBASE-Datei für sich allein.  %1</translation>
    </message>
    <message>
        <source>Converted: %1.</source>
        <translation>Umgewandelt: %1.</translation>
    </message>
    <message>
        <source>Windows-1252 text, which older programs read (Western European letters only)</source>
        <translation>Text in Windows-1252, den ältere Programme lesen (nur westeuropäische Buchstaben)</translation>
    </message>
    <message>
        <source>Record %1, which has no title</source>
        <translation>Datensatz %1, der keinen Titel hat</translation>
    </message>
    <message>
        <source>“%1”</source>
        <translation>„%1“</translation>
    </message>
    <message>
        <source>Filtering...</source>
        <translation>Filtert...</translation>
    </message>
    <message>
        <source>&amp;Covers without a Film...</source>
        <translation>&amp;Cover ohne Film...</translation>
    </message>
    <message>
        <source>Show &amp;Cover</source>
        <translation>&amp;Cover zeigen</translation>
    </message>
    <message>
        <source>Co&amp;ver Size...</source>
        <translation>Co&amp;vergröße...</translation>
    </message>
    <message>
        <source>&amp;IMDb Lookup Index...</source>
        <translation>&amp;IMDb-Suchindex...</translation>
    </message>
    <message>
        <source>The Folder of IMDb&apos;s Dataset Files</source>
        <translation>Der Ordner der Datensatzdateien von IMDb</translation>
    </message>
    <message>
        <source>Fill In &amp;Missing...</source>
        <translation>&amp;Fehlendes ausfüllen...</translation>
    </message>
    <message>
        <source>&amp;TMDb Online Lookup...</source>
        <translation>&amp;TMDb-Onlinesuche...</translation>
    </message>
    <message>
        <source>Fill In Missing</source>
        <translation>Fehlendes ausfüllen</translation>
    </message>
    <message>
        <source>Take the films from TMDb online, with posters as covers of the videos that have none?

Yes: TMDb.  No: IMDb&apos;s datasets (the lookup index, offline).</source>
        <translation>Die Filme online von TMDb übernehmen, mit den Postern als Cover der Videos, die keines haben?

Ja: TMDb. Nein: die Datensätze von IMDb (der Suchindex, offline).</translation>
    </message>
</context>
<context>
    <name>app::TTipOfDay</name>
    <message>
        <source>You can rename database fields to your liking.</source>
        <translation>Sie können die Felder der Datenbank nach Ihrem Geschmack umbenennen.</translation>
    </message>
    <message>
        <source>You can optionally edit data directly on the Main Window Viewer.</source>
        <translation>Sie können Daten auf Wunsch direkt in der Anzeige des Hauptfensters bearbeiten.</translation>
    </message>
    <message>
        <source>You can choose to see only those database fields you desire in the Main Window Viewer.</source>
        <translation>Sie können wählen, welche Felder der Datenbank die Anzeige des Hauptfensters zeigt.</translation>
    </message>
    <message>
        <source>You can choose the order in which the database fields appear in the Main Window Viewer.</source>
        <translation>Sie können die Reihenfolge wählen, in der die Felder in der Anzeige des Hauptfensters erscheinen.</translation>
    </message>
    <message>
        <source>You can select the font for edit boxes allowing for support of foreign language input.</source>
        <translation>Sie können die Schrift der Eingabefelder wählen, etwa für Eingaben in fremden Sprachen.</translation>
    </message>
    <message>
        <source>You can do a global search and replace on any database field.</source>
        <translation>Sie können in jedem Feld der Datenbank global suchen und ersetzen.</translation>
    </message>
    <message>
        <source>You can select numeric and currency formats for reports to either match your Windows setup or to be a U.S. format.</source>
        <translation>Sie können für Berichte Zahlen- und Währungsformate wählen: wie im System eingestellt oder im US-Format.</translation>
    </message>
    <message>
        <source>You can choose from among several date formats to be used through out the program.</source>
        <translation>Sie können aus mehreren Datumsformaten wählen, die im ganzen Programm gelten.</translation>
    </message>
    <message>
        <source>You can sort your data by any database field and go four levels deep.</source>
        <translation>Sie können Ihre Daten nach jedem Feld der Datenbank sortieren, in bis zu vier Stufen.</translation>
    </message>
    <message>
        <source>You can maintain multiple databases and Reelkeeper will display the last five used in the menu for easy retrieval.</source>
        <translation>Sie können mehrere Datenbanken führen; Reelkeeper zeigt die fünf zuletzt benutzten im Menü, damit Sie sie schnell wieder öffnen.</translation>
    </message>
    <message>
        <source>You can easily import data from ASCII Delimited or DBase compatible files.</source>
        <translation>Sie können Daten leicht aus ASCII-Dateien mit Trennzeichen oder dBASE-Dateien importieren.</translation>
    </message>
    <message>
        <source>You can export data to ASCII Delimited or DBase compatible files and choose which database fields to export and the order.</source>
        <translation>Sie können Daten in ASCII-Dateien mit Trennzeichen oder dBASE-Dateien exportieren und wählen, welche Felder in welcher Reihenfolge exportiert werden.</translation>
    </message>
    <message>
        <source>When exporting data, you can limit the data to export by first doing a search.</source>
        <translation>Beim Export können Sie die Daten vorher durch eine Suche eingrenzen.</translation>
    </message>
    <message>
        <source>When printing a report, you can limit the data to print by first doing a search.</source>
        <translation>Beim Drucken eines Berichts können Sie die Daten vorher durch eine Suche eingrenzen.</translation>
    </message>
    <message>
        <source>You can preview reports, print reports to a text file or send them directly to the printer.</source>
        <translation>Sie können Berichte in der Vorschau ansehen, in eine Textdatei drucken oder direkt an den Drucker schicken.</translation>
    </message>
    <message>
        <source>You can design and build as many of your own report layouts as you like.</source>
        <translation>Sie können beliebig viele eigene Berichte entwerfen.</translation>
    </message>
    <message>
        <source>You can choose to have speed buttons or large lettered buttons on the main window for quick program functions.</source>
        <translation>Sie können im Hauptfenster eine Symbolleiste oder große beschriftete Knöpfe für die häufigsten Befehle wählen.</translation>
    </message>
    <message>
        <source>You can choose among popular screen sizes allowing program windows to appear the size you prefer.</source>
        <translation>Sie können aus gängigen Bildschirmgrößen wählen, damit die Fenster des Programms so groß erscheinen, wie Sie es mögen.</translation>
    </message>
    <message>
        <source>You can choose the font style for text input, labels and buttons allowing for a more personal appearance.</source>
        <translation>Sie können die Schriften für Eingaben, Beschriftungen und Knöpfe wählen und dem Programm so ein persönliches Aussehen geben.</translation>
    </message>
    <message>
        <source>You can narrow the data that is displayed in the Main Window Viewer to just the result of a search.</source>
        <translation>Sie können die Anzeige des Hauptfensters auf das Ergebnis einer Suche eingrenzen.</translation>
    </message>
    <message>
        <source>Logical OR searches can be performed: Find all records where the item = xxxx OR where the item = yyyy.</source>
        <translation>Auch Suchen mit logischem ODER sind möglich: Finde alle Datensätze, deren Eintrag = xxxx ODER = yyyy ist.</translation>
    </message>
    <message>
        <source>User defined reports allow for Title Lines, Font Selection, Margin Settings, Page Numbers, Date On Pages and More.</source>
        <translation>Eigene Berichte bieten Titelzeilen, Schriftwahl, Ränder, Seitenzahlen, Datum auf den Seiten und mehr.</translation>
    </message>
    <message>
        <source>User defined reports allow for Column Headers, Vertical and Horizontal lines, Grouping of Data, Totals and More.</source>
        <translation>Eigene Berichte bieten Spaltenköpfe, senkrechte und waagrechte Linien, Gruppierung der Daten, Summen und mehr.</translation>
    </message>
    <message>
        <source>A &quot;Browse Mode&quot; is available where a user has access to the data, but cannot change it.</source>
        <translation>Es gibt einen &quot;Lesemodus&quot;, in dem ein Benutzer die Daten sehen, aber nicht ändern kann.</translation>
    </message>
    <message>
        <source>Tip of the Day</source>
        <translation>Tipp des Tages</translation>
    </message>
    <message>
        <source>Did you know?</source>
        <translation>Wussten Sie schon?</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>&amp;Next Tip</source>
        <translation>&amp;Nächster Tipp</translation>
    </message>
    <message>
        <source>&amp;Show Tips at Startup</source>
        <translation>Tipps beim St&amp;art zeigen</translation>
    </message>
</context>
<context>
    <name>app::ViewerGrid</name>
    <message>
        <source>Video Viewer</source>
        <translation>Videoanzeige</translation>
    </message>
</context>
<context>
    <name>app::ViewerModel</name>
    <message>
        <source>The text holds characters that a collection cannot store: &quot;%1&quot;</source>
        <translation>Der Text enthält Zeichen, die eine Sammlung nicht speichern kann: &quot;%1&quot;</translation>
    </message>
    <message>
        <source>The text is longer than the field holds (%1 bytes in a Unicode collection): &quot;%2&quot;</source>
        <translation>Der Text ist länger, als das Feld fasst (%1 Bytes in einer Unicode-Sammlung): „%2“</translation>
    </message>
</context>
<context>
    <name>app::WidgetPrompter</name>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>No printers are defined.</source>
        <translation>Es sind keine Drucker eingerichtet.</translation>
    </message>
</context>
<context>
    <name>appearance</name>
    <message>
        <source>Monochrome</source>
        <translation>Monochrom</translation>
    </message>
    <message>
        <source>Gray Mist</source>
        <translation>Grauer Nebel</translation>
    </message>
    <message>
        <source>Midnight Black</source>
        <translation>Mitternachtsschwarz</translation>
    </message>
    <message>
        <source>Desert Sunset</source>
        <translation>Wüstenabend</translation>
    </message>
    <message>
        <source>Easter Pastel</source>
        <translation>Osterpastell</translation>
    </message>
    <message>
        <source>Ocean Blue</source>
        <translation>Ozeanblau</translation>
    </message>
    <message>
        <source>Fiery Red</source>
        <translation>Feuerrot</translation>
    </message>
    <message>
        <source>Christmas Season</source>
        <translation>Weihnachtszeit</translation>
    </message>
    <message>
        <source>Wine</source>
        <translation>Wein</translation>
    </message>
    <message>
        <source>More Pastels</source>
        <translation>Mehr Pastell</translation>
    </message>
    <message>
        <source>Green Glow</source>
        <translation>Grünes Leuchten</translation>
    </message>
    <message>
        <source>Camouflage</source>
        <translation>Tarnfarben</translation>
    </message>
    <message>
        <source>Follow the Desktop</source>
        <translation>Wie der Desktop</translation>
    </message>
    <message>
        <source>Two field names have the same name &quot;%1&quot;.  Please change one.</source>
        <translation>Zwei Felder tragen denselben Namen &quot;%1&quot;.  Bitte ändern Sie einen davon.</translation>
    </message>
</context>
<context>
    <name>appearance_ui::TColorConfig</name>
    <message>
        <source>Color Configuration</source>
        <translation>Farben einrichten</translation>
    </message>
    <message>
        <source>Window</source>
        <translation>Fenster</translation>
    </message>
    <message>
        <source>Sample Text</source>
        <translation>Beispieltext</translation>
    </message>
    <message>
        <source>Sample of an edit box</source>
        <translation>Beispiel eines Eingabefelds</translation>
    </message>
    <message>
        <source>Edit Box</source>
        <translation>Eingabefeld</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Background</source>
        <translation>Hintergrund</translation>
    </message>
    <message>
        <source>Combo Box</source>
        <translation>Auswahlfeld</translation>
    </message>
    <message>
        <source>Sample of a list</source>
        <translation>Beispiel einer Liste</translation>
    </message>
    <message>
        <source>List Box</source>
        <translation>Listenfeld</translation>
    </message>
    <message>
        <source>Radio Button</source>
        <translation>Optionsfeld</translation>
    </message>
    <message>
        <source>Check Box</source>
        <translation>Kontrollkästchen</translation>
    </message>
    <message>
        <source>Predefined Color Combinations</source>
        <translation>Vorgegebene Farbkombinationen</translation>
    </message>
    <message>
        <source>Color combinations</source>
        <translation>Farbkombinationen</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Major Titles</source>
        <translation>Haupttitel</translation>
    </message>
    <message>
        <source>Minor Titles</source>
        <translation>Untertitel</translation>
    </message>
    <message>
        <source>Sample of a combo box</source>
        <translation>Beispiel eines Auswahlfelds</translation>
    </message>
</context>
<context>
    <name>appearance_ui::TViewConfig</name>
    <message>
        <source>Viewer Configuration</source>
        <translation>Anzeige einrichten</translation>
    </message>
    <message>
        <source>Viewer configuration pages</source>
        <translation>Seiten der Anzeige-Einrichtung</translation>
    </message>
    <message>
        <source>&amp;Title</source>
        <translation>&amp;Titel</translation>
    </message>
    <message>
        <source>&amp;Look and Feel</source>
        <translation>&amp;Aussehen</translation>
    </message>
    <message>
        <source>Fields to &amp;Show</source>
        <translation>Angezeigte &amp;Felder</translation>
    </message>
    <message>
        <source>Field &amp;Widths</source>
        <translation>Feld&amp;breiten</translation>
    </message>
    <message>
        <source>Field &amp;Order</source>
        <translation>Feld&amp;reihenfolge</translation>
    </message>
    <message>
        <source>Field &amp;Names</source>
        <translation>Feld&amp;namen</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>Be&amp;enden</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Show Column Titles</source>
        <translation>Spaltentitel zeigen</translation>
    </message>
    <message>
        <source>New &amp;Font</source>
        <translation>Neue &amp;Schrift</translation>
    </message>
    <message>
        <source>Title Font</source>
        <translation>Schrift der Titel</translation>
    </message>
    <message>
        <source>New &amp;Color</source>
        <translation>Ne&amp;ue Farbe</translation>
    </message>
    <message>
        <source>Background</source>
        <translation>Hintergrund</translation>
    </message>
    <message>
        <source>Left Justify</source>
        <translation>Linksbündig</translation>
    </message>
    <message>
        <source>Center</source>
        <translation>Zentriert</translation>
    </message>
    <message>
        <source>Right Justify</source>
        <translation>Rechtsbündig</translation>
    </message>
    <message>
        <source>Alignment</source>
        <translation>Ausrichtung</translation>
    </message>
    <message>
        <source>Show lines between columns</source>
        <translation>Linien zwischen den Spalten zeigen</translation>
    </message>
    <message>
        <source>Show lines between rows</source>
        <translation>Linien zwischen den Zeilen zeigen</translation>
    </message>
    <message>
        <source>Show current row indicator</source>
        <translation>Markierung der aktuellen Zeile zeigen</translation>
    </message>
    <message>
        <source>Allow field editing</source>
        <translation>Bearbeiten in den Feldern erlauben</translation>
    </message>
    <message>
        <source>Grid Options</source>
        <translation>Tabellenoptionen</translation>
    </message>
    <message>
        <source>Cell Color</source>
        <translation>Zellfarbe</translation>
    </message>
    <message>
        <source>Cell Font</source>
        <translation>Zellschrift</translation>
    </message>
    <message>
        <source>For each field that you would like displayed in the Viewer, select &apos;Yes&apos;.  If you do not wish a field to appear in the Viewer, then select &apos;No&apos; for that field.  Double Click on the field to change between &apos;Yes&apos; and &apos;No&apos;.</source>
        <translation>Wählen Sie für jedes Feld, das die Anzeige zeigen soll, &apos;Ja&apos;.  Soll ein Feld nicht in der Anzeige erscheinen, wählen Sie für dieses Feld &apos;Nein&apos;.  Ein Doppelklick auf das Feld wechselt zwischen &apos;Ja&apos; und &apos;Nein&apos;.</translation>
    </message>
    <message>
        <source>FIELD</source>
        <translation>FELD</translation>
    </message>
    <message>
        <source>DISPLAY IT</source>
        <translation>ANZEIGEN</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>WIDTH</source>
        <translation>BREITE</translation>
    </message>
    <message>
        <source>Column order</source>
        <translation>Spaltenfolge</translation>
    </message>
    <message>
        <source>Field
Ordering</source>
        <translation>Feld-
reihenfolge</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>Nach &amp;oben</translation>
    </message>
    <message>
        <source>&amp;Down</source>
        <translation>Nach &amp;unten</translation>
    </message>
    <message>
        <source>D&amp;efaults</source>
        <translation>&amp;Standard</translation>
    </message>
    <message>
        <source>NAME TO USE</source>
        <translation>ANZUZEIGENDER NAME</translation>
    </message>
    <message>
        <source>Re-Order</source>
        <translation>Neu ordnen</translation>
    </message>
    <message>
        <source>This will set the order of fields to the program defaults.  Continue?</source>
        <translation>Damit erhalten die Felder die vorgegebene Reihenfolge des Programms.  Fortfahren?</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
</context>
<context>
    <name>backup</name>
    <message>
        <source>Copying &quot;%1&quot;</source>
        <translation>&quot;%1&quot; wird kopiert</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Destination File and Source File are identical.  You cannot copy a file  over top of itself.  Please choose a different directory to backup to.</source>
        <translation>Zieldatei und Quelldatei sind dieselbe Datei.  Eine Datei kann nicht auf sich selbst kopiert werden.  Bitte wählen Sie einen anderen Ordner für die Sicherung.</translation>
    </message>
    <message>
        <source>An error occurred during backup.  Backup not completed.</source>
        <translation>Bei der Sicherung ist ein Fehler aufgetreten.  Die Sicherung wurde nicht abgeschlossen.</translation>
    </message>
    <message>
        <source>Backup completed successfully.</source>
        <translation>Die Sicherung wurde erfolgreich abgeschlossen.</translation>
    </message>
    <message>
        <source>Backing up the database requires exclusive use of the DBase File.  Make sure that the DBase File is not in use by another program  or that no other users are running the software or that no other copies of the software are in use.</source>
        <translation>Das Sichern der Datenbank braucht die dBASE-Datei für sich allein.  Stellen Sie sicher, dass die dBASE-Datei von keinem anderen Programm benutzt wird, dass keine anderen Benutzer die Software ausführen und dass keine anderen Kopien der Software laufen.</translation>
    </message>
    <message>
        <source>There is not enough room on the destination drive to perform a backup.  If you are already using blank empty media, then you will need to use the ASCII Delimited Import/Export functions for backup and restore purposes.</source>
        <translation>Auf dem Ziellaufwerk ist nicht genug Platz für eine Sicherung.  Wenn Sie schon einen leeren Datenträger verwenden, müssen Sie zum Sichern und Wiederherstellen den Import und Export von ASCII-Text mit Trennzeichen benutzen.</translation>
    </message>
    <message>
        <source>There is not enough room on the destination drive to backup this file.  You will need to free up space on the destination drive or use an alternative method to backup the &quot;REELKP.URP&quot; file.</source>
        <translation>Auf dem Ziellaufwerk ist nicht genug Platz, um diese Datei zu sichern.  Schaffen Sie Platz auf dem Ziellaufwerk oder sichern Sie die Datei &quot;REELKP.URP&quot; auf anderem Weg.</translation>
    </message>
    <message>
        <source>An error occurred during restore.  Restore not completed.</source>
        <translation>Bei der Wiederherstellung ist ein Fehler aufgetreten.  Die Wiederherstellung wurde nicht abgeschlossen.</translation>
    </message>
    <message>
        <source>Restore completed successfully.</source>
        <translation>Die Wiederherstellung wurde erfolgreich abgeschlossen.</translation>
    </message>
    <message>
        <source>There is not enough room on the destination drive to perform a restore.  You will need to free up hard drive space before completing the restore.</source>
        <translation>Auf dem Ziellaufwerk ist nicht genug Platz für eine Wiederherstellung.  Schaffen Sie Platz auf der Festplatte, bevor Sie die Wiederherstellung abschließen.</translation>
    </message>
    <message>
        <source>Unable to restore the database.  Make sure the database is not in use by any other users or by another copy of the software.</source>
        <translation>Die Datenbank kann nicht wiederhergestellt werden.  Stellen Sie sicher, dass die Datenbank von keinem anderen Benutzer und keiner anderen Kopie der Software benutzt wird.</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
</context>
<context>
    <name>backup_ui::TMyBackup</name>
    <message>
        <source>Backup</source>
        <translation>Sicherung</translation>
    </message>
    <message>
        <source>What To Back Up</source>
        <translation>Was gesichert wird</translation>
    </message>
    <message>
        <source>Back Up Current Database (*.DBF)</source>
        <translation>Aktuelle Datenbank sichern (*.DBF)</translation>
    </message>
    <message>
        <source>Back Up Lists (*.LST)</source>
        <translation>Listen sichern (*.LST)</translation>
    </message>
    <message>
        <source>Back Up Report Definitions (*.URP)</source>
        <translation>Berichtsdefinitionen sichern (*.URP)</translation>
    </message>
    <message>
        <source>Where To Back Up To</source>
        <translation>Wohin gesichert wird</translation>
    </message>
    <message>
        <source>%1  (%2)</source>
        <translation>%1  (%2)</translation>
    </message>
    <message>
        <source>Folders</source>
        <translation>Ordner</translation>
    </message>
    <message>
        <source>&amp;Start Back Up</source>
        <translation>Sicherung &amp;beginnen</translation>
    </message>
    <message>
        <source>Notice</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>There is room for the new backup only in place of the old one.  The old backup &quot;%1&quot; will be deleted before the copy.  Continue?</source>
        <translation>Für die neue Sicherung ist nur an der Stelle der alten Platz.  Die alte Sicherung &quot;%1&quot; wird vor dem Kopieren gelöscht.  Fortfahren?</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>&amp;With the covers of the films</source>
        <translation>&amp;Mit den Covern der Filme</translation>
    </message>
</context>
<context>
    <name>backup_ui::TMyRestore</name>
    <message>
        <source>Restore</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>What To Restore</source>
        <translation>Was wiederhergestellt wird</translation>
    </message>
    <message>
        <source>Restore a Database File (*.DBF)</source>
        <translation>Eine Datenbankdatei wiederherstellen (*.DBF)</translation>
    </message>
    <message>
        <source>Restore List Files (*.LST)</source>
        <translation>Listendateien wiederherstellen (*.LST)</translation>
    </message>
    <message>
        <source>Restore Report Definitions (*.URP)</source>
        <translation>Berichtsdefinitionen wiederherstellen (*.URP)</translation>
    </message>
    <message>
        <source>&amp;Start Restore</source>
        <translation>Wiederherstellung &amp;beginnen</translation>
    </message>
    <message>
        <source>Restore DBF File</source>
        <translation>DBF-Datei wiederherstellen</translation>
    </message>
    <message>
        <source>DBase Files (*.DBF *.dbf)</source>
        <translation>dBASE-Dateien (*.DBF *.dbf)</translation>
    </message>
    <message>
        <source>Restore LST Files</source>
        <translation>LST-Dateien wiederherstellen</translation>
    </message>
    <message>
        <source>List Files (*.LST *.lst)</source>
        <translation>Listendateien (*.LST *.lst)</translation>
    </message>
    <message>
        <source>Restore URP File</source>
        <translation>URP-Datei wiederherstellen</translation>
    </message>
    <message>
        <source>Reports Files (*.URP *.urp)</source>
        <translation>Berichtsdateien (*.URP *.urp)</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>Notice</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; is already in place in the program folder; nothing was copied.  It is now the current database.</source>
        <translation>Die Datei &quot;%1&quot; liegt schon im Programmordner; es wurde nichts kopiert.  Sie ist jetzt die aktuelle Datenbank.</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>The following file &quot;%1&quot; could not be located on the specified source drive.</source>
        <translation>Die Datei &quot;%1&quot; wurde auf dem angegebenen Quelllaufwerk nicht gefunden.</translation>
    </message>
    <message>
        <source>ALL proper LST files restored successfully.</source>
        <translation>ALLE gültigen LST-Dateien wurden erfolgreich wiederhergestellt.</translation>
    </message>
    <message>
        <source>One or more files were not restored.  Restore may not have completed successfully.</source>
        <translation>Eine oder mehrere Dateien wurden nicht wiederhergestellt.  Die Wiederherstellung ist vielleicht nicht vollständig gelungen.</translation>
    </message>
    <message>
        <source>The Report Definitions file &quot;REELKP.URP&quot; could not be  located on the specified source drive.</source>
        <translation>Die Datei der Berichtsdefinitionen &quot;REELKP.URP&quot; wurde auf dem angegebenen Quelllaufwerk nicht gefunden.</translation>
    </message>
</context>
<context>
    <name>db</name>
    <message>
        <source>This DBase file was not created with Reelkeeper Videos 95.  It cannot be opened.  You may, however, import data from this file using the import function.</source>
        <translation>Diese dBASE-Datei wurde nicht mit Reelkeeper Videos 95 angelegt.  Sie kann nicht geöffnet werden.  Sie können ihre Daten aber mit dem Import übernehmen.</translation>
    </message>
    <message>
        <source>&amp;Producer</source>
        <translation>&amp;Produzent</translation>
    </message>
    <message>
        <source>Producer</source>
        <translation>Produzent</translation>
    </message>
    <message>
        <source>&amp;Stars</source>
        <translation>&amp;Darsteller</translation>
    </message>
    <message>
        <source>Stars</source>
        <translation>Darsteller</translation>
    </message>
    <message>
        <source>&amp;Director</source>
        <translation>&amp;Regie</translation>
    </message>
    <message>
        <source>Director</source>
        <translation>Regie</translation>
    </message>
    <message>
        <source>&amp;Released By</source>
        <translation>&amp;Verleih</translation>
    </message>
    <message>
        <source>Released By</source>
        <translation>Verleih</translation>
    </message>
    <message>
        <source>Ra&amp;ting</source>
        <translation>&amp;Altersfreigabe</translation>
    </message>
    <message>
        <source>Rating</source>
        <translation>Altersfreigabe</translation>
    </message>
    <message>
        <source>Cate&amp;gory</source>
        <translation>&amp;Kategorie</translation>
    </message>
    <message>
        <source>Category</source>
        <translation>Kategorie</translation>
    </message>
    <message>
        <source>P&amp;icture</source>
        <translation>&amp;Bild</translation>
    </message>
    <message>
        <source>Picture</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>So&amp;und</source>
        <translation>&amp;Ton</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Ton</translation>
    </message>
    <message>
        <source>&amp;Format</source>
        <translation>&amp;Format</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>&amp;Laser Format</source>
        <translation>&amp;Laser-Format</translation>
    </message>
    <message>
        <source>Laser Format</source>
        <translation>Laser-Format</translation>
    </message>
    <message>
        <source>Perso&amp;nal Rating</source>
        <translation>&amp;Eigene Bewertung</translation>
    </message>
    <message>
        <source>Personal Rating</source>
        <translation>Eigene Bewertung</translation>
    </message>
    <message>
        <source>R&amp;ecord Speed</source>
        <translation>Aufnahme&amp;geschwindigkeit</translation>
    </message>
    <message>
        <source>Record Speed</source>
        <translation>Aufnahmegeschwindigkeit</translation>
    </message>
    <message>
        <source>&amp;Content</source>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>Content</source>
        <translation>Inhalt</translation>
    </message>
    <message>
        <source>&amp;Oscars</source>
        <translation>&amp;Oscars</translation>
    </message>
    <message>
        <source>Oscar Names</source>
        <translation>Oscar-Namen</translation>
    </message>
    <message>
        <source>Chec&amp;k Out Person</source>
        <translation>Verliehen a&amp;n</translation>
    </message>
    <message>
        <source>Checkout Person</source>
        <translation>Verliehen an</translation>
    </message>
    <message>
        <source>&amp;Where Purchased</source>
        <translation>Ka&amp;ufort</translation>
    </message>
    <message>
        <source>Where Purchase</source>
        <translation>Kaufort</translation>
    </message>
    <message>
        <source>&amp;Miscellaneous</source>
        <translation>&amp;Sonstiges</translation>
    </message>
    <message>
        <source>Miscellaneous</source>
        <translation>Sonstiges</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Star 1</source>
        <translation>Darsteller 1</translation>
    </message>
    <message>
        <source>Star 2</source>
        <translation>Darsteller 2</translation>
    </message>
    <message>
        <source>Star 3</source>
        <translation>Darsteller 3</translation>
    </message>
    <message>
        <source>Star 4</source>
        <translation>Darsteller 4</translation>
    </message>
    <message>
        <source>Star 5</source>
        <translation>Darsteller 5</translation>
    </message>
    <message>
        <source>Star 6</source>
        <translation>Darsteller 6</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Jahr</translation>
    </message>
    <message>
        <source>Play Time</source>
        <translation>Laufzeit</translation>
    </message>
    <message>
        <source>Media #</source>
        <translation>Medium Nr.</translation>
    </message>
    <message>
        <source>Rec Speed</source>
        <translation>Geschwindigkeit</translation>
    </message>
    <message>
        <source>Counter Start</source>
        <translation>Zählerstand Anfang</translation>
    </message>
    <message>
        <source>Counter Stop</source>
        <translation>Zählerstand Ende</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>Key Words</source>
        <translation>Stichwörter</translation>
    </message>
    <message>
        <source>List Price</source>
        <translation>Listenpreis</translation>
    </message>
    <message>
        <source>Oscar Nomination</source>
        <translation>Oscar-Nominierung</translation>
    </message>
    <message>
        <source>Oscar Award</source>
        <translation>Oscar</translation>
    </message>
    <message>
        <source>Checked Out</source>
        <translation>Verliehen</translation>
    </message>
    <message>
        <source>Check Out Date</source>
        <translation>Verleihdatum</translation>
    </message>
    <message>
        <source>Check Out Person</source>
        <translation>Verliehen an</translation>
    </message>
    <message>
        <source>Purch Price</source>
        <translation>Kaufpreis</translation>
    </message>
    <message>
        <source>Purch Date</source>
        <translation>Kaufdatum</translation>
    </message>
    <message>
        <source>Where Purchased</source>
        <translation>Kaufort</translation>
    </message>
    <message>
        <source>Viewed</source>
        <translation>Gesehen</translation>
    </message>
    <message>
        <source>Writers</source>
        <translation>Drehbuch</translation>
    </message>
    <message>
        <source>User Defined 1</source>
        <translation>Benutzerfeld 1</translation>
    </message>
    <message>
        <source>User Defined 2</source>
        <translation>Benutzerfeld 2</translation>
    </message>
    <message>
        <source>%1 (file &quot;%2&quot;)</source>
        <translation>%1 (Datei &quot;%2&quot;)</translation>
    </message>
    <message>
        <source>Not a dBASE table: the file is too short to hold a header</source>
        <translation>Keine dBASE-Tabelle: die Datei ist zu kurz für einen Kopf</translation>
    </message>
    <message>
        <source>Not a dBASE table: unknown version byte %1</source>
        <translation>Keine dBASE-Tabelle: unbekanntes Versionsbyte %1</translation>
    </message>
    <message>
        <source>Damaged dBASE table: field %1 has zero width</source>
        <translation>Beschädigte dBASE-Tabelle: das Feld %1 hat die Breite null</translation>
    </message>
    <message>
        <source>Damaged dBASE table: the field list has no header terminator</source>
        <translation>Beschädigte dBASE-Tabelle: der Feldliste fehlt das Endzeichen des Kopfs</translation>
    </message>
    <message>
        <source>Damaged dBASE table: the table has no fields</source>
        <translation>Beschädigte dBASE-Tabelle: die Tabelle hat keine Felder</translation>
    </message>
    <message>
        <source>A table needs at least one field</source>
        <translation>Eine Tabelle braucht mindestens ein Feld</translation>
    </message>
    <message>
        <source>A dBASE table holds at most 255 fields</source>
        <translation>Eine dBASE-Tabelle hat höchstens 255 Felder</translation>
    </message>
    <message>
        <source>The fields are too wide for one dBASE record</source>
        <translation>Die Felder sind zu breit für einen dBASE-Datensatz</translation>
    </message>
    <message>
        <source>Cannot open file: %1</source>
        <translation>Die Datei kann nicht geöffnet werden: %1</translation>
    </message>
    <message>
        <source>Cannot open file: it is a folder</source>
        <translation>Die Datei kann nicht geöffnet werden: sie ist ein Ordner</translation>
    </message>
    <message>
        <source>Read error: %1</source>
        <translation>Lesefehler: %1</translation>
    </message>
    <message>
        <source>Unexpected end of file: the file is shorter than its header says</source>
        <translation>Unerwartetes Dateiende: die Datei ist kürzer, als ihr Kopf sagt</translation>
    </message>
    <message>
        <source>Write error: %1</source>
        <translation>Schreibfehler: %1</translation>
    </message>
    <message>
        <source>Cannot read file size: %1</source>
        <translation>Die Dateigröße kann nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>Cannot change file size: %1</source>
        <translation>Die Dateigröße kann nicht geändert werden: %1</translation>
    </message>
    <message>
        <source>Cannot write file to disk: %1</source>
        <translation>Die Datei kann nicht auf die Platte geschrieben werden: %1</translation>
    </message>
    <message>
        <source>Cannot lock file: %1</source>
        <translation>Die Datei kann nicht gesperrt werden: %1</translation>
    </message>
    <message>
        <source>Cannot test file lock: %1</source>
        <translation>Die Sperre der Datei kann nicht geprüft werden: %1</translation>
    </message>
    <message>
        <source>Cannot set the file&apos;s permissions: %1</source>
        <translation>Die Rechte der Datei können nicht gesetzt werden: %1</translation>
    </message>
    <message>
        <source>Cannot delete file: %1</source>
        <translation>Die Datei kann nicht gelöscht werden: %1</translation>
    </message>
    <message>
        <source>Cannot write folder to disk: %1</source>
        <translation>Der Ordner kann nicht auf die Platte geschrieben werden: %1</translation>
    </message>
    <message>
        <source>Cannot replace file: %1</source>
        <translation>Die Datei kann nicht ersetzt werden: %1</translation>
    </message>
    <message>
        <source>Another run is writing this work file</source>
        <translation>Ein anderer Lauf schreibt diese Arbeitsdatei</translation>
    </message>
    <message>
        <source>Internal error: index entry of the wrong length</source>
        <translation>Interner Fehler: Indexeintrag mit falscher Länge</translation>
    </message>
    <message>
        <source>The table is already open</source>
        <translation>Die Tabelle ist schon geöffnet</translation>
    </message>
    <message>
        <source>No table name given</source>
        <translation>Kein Tabellenname angegeben</translation>
    </message>
    <message>
        <source>Table does not exist</source>
        <translation>Die Tabelle gibt es nicht</translation>
    </message>
    <message>
        <source>The table is in use by another program and cannot be opened exclusively</source>
        <translation>Die Tabelle wird von einem anderen Programm benutzt und kann nicht für sich allein geöffnet werden</translation>
    </message>
    <message>
        <source>The table is opened exclusively by another program</source>
        <translation>Die Tabelle ist von einem anderen Programm für sich allein geöffnet</translation>
    </message>
    <message>
        <source>The table is in use by another program and cannot be replaced</source>
        <translation>Die Tabelle wird von einem anderen Programm benutzt und kann nicht ersetzt werden</translation>
    </message>
    <message>
        <source>Cannot add an index: the table is open read-only</source>
        <translation>Es kann kein Index hinzugefügt werden: die Tabelle ist nur zum Lesen geöffnet</translation>
    </message>
    <message>
        <source>An index file holds at most 8 tags</source>
        <translation>Eine Indexdatei hat höchstens 8 Indizes</translation>
    </message>
    <message>
        <source>Packing requires exclusive use of the table</source>
        <translation>Das Packen braucht die Tabelle für sich allein</translation>
    </message>
    <message>
        <source>The packed table was opened by another program before it could be locked</source>
        <translation>Die gepackte Tabelle wurde von einem anderen Programm geöffnet, bevor sie gesperrt werden konnte</translation>
    </message>
    <message>
        <source>Regenerating indexes requires exclusive use of the table</source>
        <translation>Das Neuaufbauen der Indizes braucht die Tabelle für sich allein</translation>
    </message>
    <message>
        <source>Cannot search a key: no index is selected</source>
        <translation>Es kann kein Schlüssel gesucht werden: kein Index ist gewählt</translation>
    </message>
    <message>
        <source>Cannot edit: there is no current record</source>
        <translation>Bearbeiten nicht möglich: es gibt keinen aktuellen Datensatz</translation>
    </message>
    <message>
        <source>Cannot edit: the table is open read-only</source>
        <translation>Bearbeiten nicht möglich: die Tabelle ist nur zum Lesen geöffnet</translation>
    </message>
    <message>
        <source>Cannot edit: the record was deleted by another user</source>
        <translation>Bearbeiten nicht möglich: der Datensatz wurde von einem anderen Benutzer gelöscht</translation>
    </message>
    <message>
        <source>Cannot insert: the table is open read-only</source>
        <translation>Einfügen nicht möglich: die Tabelle ist nur zum Lesen geöffnet</translation>
    </message>
    <message>
        <source>Cannot change a field: the table is not in edit or insert mode</source>
        <translation>Ein Feld kann nicht geändert werden: die Tabelle wird weder bearbeitet noch ergänzt</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid number for field %2</source>
        <translation>&apos;%1&apos; ist keine gültige Zahl für das Feld %2</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid date for field %2</source>
        <translation>&apos;%1&apos; ist kein gültiges Datum für das Feld %2</translation>
    </message>
    <message>
        <source>The number %1 does not fit field %2</source>
        <translation>Die Zahl %1 passt nicht in das Feld %2</translation>
    </message>
    <message>
        <source>The date does not fit field %1</source>
        <translation>Das Datum passt nicht in das Feld %1</translation>
    </message>
    <message>
        <source>Cannot post: the table is not in edit or insert mode</source>
        <translation>Speichern nicht möglich: die Tabelle wird weder bearbeitet noch ergänzt</translation>
    </message>
    <message>
        <source>Cannot post: the record was deleted by another user</source>
        <translation>Speichern nicht möglich: der Datensatz wurde von einem anderen Benutzer gelöscht</translation>
    </message>
    <message>
        <source>Cannot delete: there is no current record</source>
        <translation>Löschen nicht möglich: es gibt keinen aktuellen Datensatz</translation>
    </message>
    <message>
        <source>Cannot delete: the table is open read-only</source>
        <translation>Löschen nicht möglich: die Tabelle ist nur zum Lesen geöffnet</translation>
    </message>
    <message>
        <source>A batch of changes is already under way</source>
        <translation>Eine Reihe von Änderungen ist schon im Gang</translation>
    </message>
    <message>
        <source>Record %1 does not exist</source>
        <translation>Den Datensatz %1 gibt es nicht</translation>
    </message>
    <message>
        <source>Record %1 lies beyond the end of the file</source>
        <translation>Der Datensatz %1 liegt hinter dem Ende der Datei</translation>
    </message>
    <message>
        <source>No current record: the table is not open</source>
        <translation>Kein aktueller Datensatz: die Tabelle ist nicht geöffnet</translation>
    </message>
    <message>
        <source>The file is not text</source>
        <translation>Die Datei ist kein Text</translation>
    </message>
    <message>
        <source>The file is empty</source>
        <translation>Die Datei ist leer</translation>
    </message>
    <message>
        <source>The file is no %1 export: its first line does not name the columns one has</source>
        <translation>Die Datei ist kein Export von %1: ihre erste Zeile nennt nicht die Spalten, die ein solcher hat</translation>
    </message>
    <message>
        <source>Too many records for one dBASE file</source>
        <translation>Zu viele Datensätze für eine dBASE-Datei</translation>
    </message>
    <message>
        <source>The file is too large for a catalogue</source>
        <translation>Die Datei ist zu groß für einen Katalog</translation>
    </message>
    <message>
        <source>The file is no readable zip archive</source>
        <translation>Die Datei ist kein lesbares Zip-Archiv</translation>
    </message>
    <message>
        <source>The archive holds no tellico.xml: it is no Tellico file</source>
        <translation>Das Archiv enthält keine tellico.xml: es ist keine Tellico-Datei</translation>
    </message>
    <message>
        <source>The XML is damaged at line %1: %2</source>
        <translation>Das XML ist in Zeile %1 beschädigt: %2</translation>
    </message>
    <message>
        <source>Cannot measure the file: %1</source>
        <translation>Die Datei kann nicht gemessen werden: %1</translation>
    </message>
    <message>
        <source>Cannot measure the free space: %1</source>
        <translation>Der freie Platz kann nicht gemessen werden: %1</translation>
    </message>
    <message>
        <source>The file cannot be copied over itself</source>
        <translation>Die Datei kann nicht auf sich selbst kopiert werden</translation>
    </message>
    <message>
        <source>The copy does not match its source &quot;%1&quot;</source>
        <translation>Die Kopie stimmt nicht mit ihrer Quelle &quot;%1&quot; überein</translation>
    </message>
    <message>
        <source>%1 record kept</source>
        <translation>%1 Datensatz behalten</translation>
    </message>
    <message>
        <source>%1 records kept</source>
        <translation>%1 Datensätze behalten</translation>
    </message>
    <message>
        <source>%1 deleted record removed</source>
        <translation>%1 gelöschter Datensatz entfernt</translation>
    </message>
    <message>
        <source>%1 deleted records removed</source>
        <translation>%1 gelöschte Datensätze entfernt</translation>
    </message>
    <message>
        <source>%1 whole record past the header&apos;s count (a change cut short) kept</source>
        <translation>%1 ganzer Datensatz hinter der Zahl im Kopf (eine abgebrochene Änderung) behalten</translation>
    </message>
    <message>
        <source>%1 whole records past the header&apos;s count (a change cut short) kept</source>
        <translation>%1 ganze Datensätze hinter der Zahl im Kopf (eine abgebrochene Änderung) behalten</translation>
    </message>
    <message>
        <source>%1 place holding no record (neither live nor deleted) removed</source>
        <translation>%1 Platz ohne Datensatz (weder gültig noch gelöscht) entfernt</translation>
    </message>
    <message>
        <source>%1 places holding no record (neither live nor deleted) removed</source>
        <translation>%1 Plätze ohne Datensatz (weder gültig noch gelöscht) entfernt</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid date</source>
        <translation>&apos;%1&apos; ist kein gültiges Datum</translation>
    </message>
    <message>
        <source>Damaged dBASE table: the header length %1 does not fit the file</source>
        <translation>Beschädigte dBASE-Tabelle: die Kopflänge %1 passt nicht zur Datei</translation>
    </message>
    <message>
        <source>Damaged dBASE table: the record length %1 is too small</source>
        <translation>Beschädigte dBASE-Tabelle: die Datensatzlänge %1 ist zu klein</translation>
    </message>
    <message>
        <source>Damaged dBASE table: field %1 has no name</source>
        <translation>Beschädigte dBASE-Tabelle: das Feld %1 hat keinen Namen</translation>
    </message>
    <message>
        <source>Damaged dBASE table: the fields need %1 bytes but the record length is %2</source>
        <translation>Beschädigte dBASE-Tabelle: die Felder brauchen %1 Bytes, aber die Datensatzlänge ist %2</translation>
    </message>
    <message>
        <source>Damaged dBASE table: the header counts %1 records but the file ends after %2</source>
        <translation>Beschädigte dBASE-Tabelle: der Kopf zählt %1 Datensätze, aber die Datei endet nach %2</translation>
    </message>
    <message>
        <source>tellico.xml in the archive cannot be read</source>
        <translation>tellico.xml im Archiv kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>tellico.xml in the archive is damaged</source>
        <translation>tellico.xml im Archiv ist beschädigt</translation>
    </message>
    <message>
        <source>The file is no GCstar collection</source>
        <translation>Die Datei ist keine GCstar-Sammlung</translation>
    </message>
    <message>
        <source>The file is a GCstar collection of unknown things, not of films (GCfilms)</source>
        <translation>Die Datei ist eine GCstar-Sammlung unbekannter Dinge, nicht von Filmen (GCfilms)</translation>
    </message>
    <message>
        <source>The file is a GCstar collection of %1, not of films (GCfilms)</source>
        <translation>Die Datei ist eine GCstar-Sammlung von %1, nicht von Filmen (GCfilms)</translation>
    </message>
    <message>
        <source>The file is no Tellico collection</source>
        <translation>Die Datei ist keine Tellico-Sammlung</translation>
    </message>
    <message>
        <source>The file is a Tellico %1 collection, not a video collection</source>
        <translation>Die Datei ist eine Tellico-Sammlung der Art %1, keine Videosammlung</translation>
    </message>
    <message>
        <source>The XML is damaged: %1</source>
        <translation>Das XML ist beschädigt: %1</translation>
    </message>
    <message>
        <source>The file holds no XML</source>
        <translation>Die Datei enthält kein XML</translation>
    </message>
    <message>
        <source>The file describes a TV show, not a movie</source>
        <translation>Die Datei beschreibt eine Serie, keinen Film</translation>
    </message>
    <message>
        <source>The file is no movie .nfo (its first element is &lt;%1&gt;)</source>
        <translation>Die Datei ist keine .nfo eines Films (ihr erstes Element ist &lt;%1&gt;)</translation>
    </message>
    <message>
        <source>The file is no GCstar, Tellico or .nfo catalogue</source>
        <translation>Die Datei ist kein Katalog von GCstar, Tellico oder .nfo</translation>
    </message>
    <message>
        <source>The report definitions file &quot;%1&quot; is damaged at report %2: the length of its %3 (%4) is past the field&apos;s %5 characters.</source>
        <translation>Die Datei der Berichtsdefinitionen &quot;%1&quot; ist bei Bericht %2 beschädigt: die Länge von %3 (%4) geht über die %5 Zeichen des Feldes hinaus.</translation>
    </message>
    <message>
        <source>The report definitions file &quot;%1&quot; is damaged at report %2: the record holds %3 bytes, not %4.</source>
        <translation>Die Datei der Berichtsdefinitionen &quot;%1&quot; ist bei Bericht %2 beschädigt: der Satz hat %3 Bytes, nicht %4.</translation>
    </message>
    <message>
        <source>The report definitions file &quot;%1&quot; is damaged at report %2: it has %3 body lines, not 0 to 12.</source>
        <translation>Die Datei der Berichtsdefinitionen &quot;%1&quot; ist bei Bericht %2 beschädigt: er hat %3 Zeilen, nicht 0 bis 12.</translation>
    </message>
    <message>
        <source>The report definitions file &quot;%1&quot; is damaged at report %2: body line %3 is %4 characters wide, wider than the widest report&apos;s %5.</source>
        <translation>Die Datei der Berichtsdefinitionen &quot;%1&quot; ist bei Bericht %2 beschädigt: Zeile %3 ist %4 Zeichen breit, breiter als die %5 des breitesten Berichts.</translation>
    </message>
    <message>
        <source>The report definitions file &quot;%1&quot; is damaged at report %2: the record is cut short.</source>
        <translation>Die Datei der Berichtsdefinitionen &quot;%1&quot; ist bei Bericht %2 beschädigt: der Satz ist abgeschnitten.</translation>
    </message>
    <message>
        <source>The report definitions file &quot;%1&quot; ends in a partial report %2 of %3 bytes; the reports before it can be used.</source>
        <translation>Die Datei der Berichtsdefinitionen &quot;%1&quot; endet mit einem unvollständigen Bericht %2 von %3 Bytes; die Berichte davor können benutzt werden.</translation>
    </message>
    <message>
        <source>Report format could not be located.</source>
        <translation>Das Berichtsformat wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>Write error: the text file could not be written whole</source>
        <translation>Schreibfehler: die Textdatei konnte nicht vollständig geschrieben werden</translation>
    </message>
    <message>
        <source>Field name &quot;%1&quot; must have 1 to 10 characters</source>
        <translation>Der Feldname &quot;%1&quot; muss 1 bis 10 Zeichen haben</translation>
    </message>
    <message>
        <source>Character field %1 must be 1 to 254 characters wide</source>
        <translation>Das Zeichenfeld %1 muss 1 bis 254 Zeichen breit sein</translation>
    </message>
    <message>
        <source>Numeric field %1 has an impossible width or decimals</source>
        <translation>Das Zahlenfeld %1 hat eine unmögliche Breite oder Nachkommastellen</translation>
    </message>
    <message>
        <source>Field type %1 cannot be created</source>
        <translation>Der Feldtyp %1 kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>Invalid index expression &quot;%1&quot;: %2</source>
        <translation>Ungültiger Indexausdruck &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>Index tag %1 does not exist</source>
        <translation>Den Indexschlüssel %1 gibt es nicht</translation>
    </message>
    <message>
        <source>Field %1 not found</source>
        <translation>Das Feld %1 wurde nicht gefunden</translation>
    </message>
    <message>
        <source>Field name %1 is used twice</source>
        <translation>Der Feldname %1 kommt zweimal vor</translation>
    </message>
    <message>
        <source>Index tag name &quot;%1&quot; must be 1 to 10 letters, digits or _</source>
        <translation>Der Name des Indexschlüssels &quot;%1&quot; muss aus 1 bis 10 Buchstaben, Ziffern oder _ bestehen</translation>
    </message>
    <message>
        <source>The index expression is %1 characters long; an index expression holds at most %2</source>
        <translation>Der Indexausdruck ist %1 Zeichen lang; ein Indexausdruck hat höchstens %2</translation>
    </message>
    <message>
        <source>Field %1 is not a date field</source>
        <translation>Das Feld %1 ist kein Datumsfeld</translation>
    </message>
    <message>
        <source>Cannot %1: the table is not open</source>
        <translation>Nicht möglich (%1): die Tabelle ist nicht geöffnet</translation>
    </message>
    <message>
        <source>Cannot %1: a record is being edited</source>
        <translation>Nicht möglich (%1): ein Datensatz wird gerade bearbeitet</translation>
    </message>
    <message>
        <source>Cannot open file: it is not a regular file but a pipe, a device or a socket</source>
        <translation>Die Datei kann nicht geöffnet werden: sie ist keine gewöhnliche Datei, sondern eine Pipe, ein Gerät oder ein Socket</translation>
    </message>
    <message>
        <source>This file cannot be written to a pipe or a device: it has to be written out of order</source>
        <translation>Diese Datei kann nicht in eine Pipe oder auf ein Gerät geschrieben werden: sie muss außer der Reihe geschrieben werden</translation>
    </message>
    <message>
        <source>A dBASE table cannot be written to a pipe or a device; choose a file</source>
        <translation>Eine dBASE-Tabelle kann nicht in eine Pipe oder auf ein Gerät geschrieben werden; wählen Sie eine Datei</translation>
    </message>
    <message>
        <source>Converting requires exclusive use of the table</source>
        <translation>Das Umwandeln braucht die Tabelle für sich allein</translation>
    </message>
    <message>
        <source>Nothing was converted: %1 text would be longer than its field in Unicode, where a letter beyond ASCII takes two to four bytes. Record and field: %2. Shorten it and convert again.</source>
        <translation>Nichts wurde umgewandelt: %1 Text wäre in Unicode, wo ein Buchstabe außerhalb von ASCII zwei bis vier Bytes belegt, länger als sein Feld. Datensatz und Feld: %2. Kürzen Sie ihn und wandeln Sie erneut um.</translation>
    </message>
    <message>
        <source>Nothing was converted: %1 texts would be longer than their fields in Unicode, where a letter beyond ASCII takes two to four bytes. Records and fields: %2. Shorten them and convert again.</source>
        <translation>Nichts wurde umgewandelt: %1 Texte wären in Unicode, wo ein Buchstabe außerhalb von ASCII zwei bis vier Bytes belegt, länger als ihre Felder. Datensätze und Felder: %2. Kürzen Sie sie und wandeln Sie erneut um.</translation>
    </message>
    <message>
        <source>The converted table was opened by another program before it could be locked</source>
        <translation>Die umgewandelte Tabelle wurde von einem anderen Programm geöffnet, bevor sie gesperrt werden konnte</translation>
    </message>
    <message>
        <source>The collection already keeps its text in Unicode; nothing was changed</source>
        <translation>Die Sammlung speichert ihren Text bereits in Unicode; nichts wurde geändert</translation>
    </message>
    <message>
        <source>%1 record now keeps its text in Unicode</source>
        <translation>%1 Datensatz speichert seinen Text jetzt in Unicode</translation>
    </message>
    <message>
        <source>%1 records now keep their text in Unicode</source>
        <translation>%1 Datensätze speichern ihren Text jetzt in Unicode</translation>
    </message>
    <message>
        <source>%1 deleted record&apos;s text shortened to fit</source>
        <translation>Text von %1 gelöschten Datensatz passend gekürzt</translation>
    </message>
    <message>
        <source>%1 deleted records&apos; texts shortened to fit</source>
        <translation>Texte von %1 gelöschten Datensätzen passend gekürzt</translation>
    </message>
</context>
<context>
    <name>db_ui::TMyEditBox</name>
    <message>
        <source>Edit &quot;%1&quot; List</source>
        <translation>Liste &quot;%1&quot; bearbeiten</translation>
    </message>
    <message>
        <source>New entry</source>
        <translation>Neuer Eintrag</translation>
    </message>
    <message>
        <source>Entries of the list</source>
        <translation>Einträge der Liste</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Sort</source>
        <translation>&amp;Sortieren</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
    <message>
        <source>Are you sure you want to sort the data?  Sorting cannot be undone.</source>
        <translation>Sollen die Einträge wirklich sortiert werden?  Das Sortieren lässt sich nicht rückgängig machen.</translation>
    </message>
</context>
<context>
    <name>edit::TMyEdit</name>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Record pages</source>
        <translation>Seiten des Datensatzes</translation>
    </message>
    <message>
        <source>Par&amp;ticulars</source>
        <translation>&amp;Angaben</translation>
    </message>
    <message>
        <source>&amp;Attributes</source>
        <translation>&amp;Merkmale</translation>
    </message>
    <message>
        <source>Li&amp;brary</source>
        <translation>Ar&amp;chiv</translation>
    </message>
    <message>
        <source>&amp;Other</source>
        <translation>&amp;Sonstiges</translation>
    </message>
    <message>
        <source>Checked Out</source>
        <translation>Verliehen</translation>
    </message>
    <message>
        <source>Viewed</source>
        <translation>Gesehen</translation>
    </message>
    <message>
        <source>Star %1</source>
        <translation>Darsteller %1</translation>
    </message>
    <message>
        <source>Blan&amp;k Date</source>
        <translation>&amp;Kein Datum</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Wählen</translation>
    </message>
    <message>
        <source>&amp;Update &amp;&amp; Exit</source>
        <translation>Speichern &amp;&amp; &amp;Beenden</translation>
    </message>
    <message>
        <source>Up&amp;date</source>
        <translation>S&amp;peichern</translation>
    </message>
    <message>
        <source>C&amp;lear</source>
        <translation>&amp;Leeren</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Verlassen</translation>
    </message>
    <message>
        <source>&amp;Previous</source>
        <translation>&amp;Zurück</translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation>&amp;Weiter</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>N&amp;ew Record</source>
        <translation>&amp;Neuer Datensatz</translation>
    </message>
    <message>
        <source>Cop&amp;y Record</source>
        <translation>Datensatz &amp;kopieren</translation>
    </message>
    <message>
        <source>&amp;Clear Record</source>
        <translation>Datensatz &amp;leeren</translation>
    </message>
    <message>
        <source>Up&amp;date Record</source>
        <translation>Datensatz &amp;speichern</translation>
    </message>
    <message>
        <source>&amp;Previous Record</source>
        <translation>&amp;Vorheriger Datensatz</translation>
    </message>
    <message>
        <source>&amp;Next Record</source>
        <translation>Nä&amp;chster Datensatz</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>Bearb&amp;eiten</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Ausschneiden</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Invalid check out date specified.  Please correct.</source>
        <translation>Ungültiges Verleihdatum angegeben.  Bitte korrigieren.</translation>
    </message>
    <message>
        <source>Invalid purchase date specified.  Please correct.</source>
        <translation>Ungültiges Kaufdatum angegeben.  Bitte korrigieren.</translation>
    </message>
    <message>
        <source>Invalid list price specified.  Please correct.</source>
        <translation>Ungültiger Listenpreis angegeben.  Bitte korrigieren.</translation>
    </message>
    <message>
        <source>Invalid purchase price specified.  Please correct.</source>
        <translation>Ungültiger Kaufpreis angegeben.  Bitte korrigieren.</translation>
    </message>
    <message>
        <source>Invalid play time specified.  Please correct.</source>
        <translation>Ungültige Laufzeit angegeben.  Bitte korrigieren.</translation>
    </message>
    <message>
        <source>Invalid year specified.  Please correct.</source>
        <translation>Ungültiges Jahr angegeben.  Bitte korrigieren.</translation>
    </message>
    <message>
        <source>The text &quot;%1&quot; holds characters that a collection cannot store.  Please correct.</source>
        <translation>Der Text &quot;%1&quot; enthält Zeichen, die eine Sammlung nicht speichern kann.  Bitte korrigieren.</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Data has changed.  Update this record before creating new one?</source>
        <translation>Die Daten wurden geändert.  Diesen Datensatz speichern, bevor ein neuer angelegt wird?</translation>
    </message>
    <message>
        <source>Edit (New Record)</source>
        <translation>Bearbeiten (neuer Datensatz)</translation>
    </message>
    <message>
        <source>Data has changed.  Update this record before creating new one with the current data?</source>
        <translation>Die Daten wurden geändert.  Diesen Datensatz speichern, bevor aus den aktuellen Daten ein neuer angelegt wird?</translation>
    </message>
    <message>
        <source>Edit (New Copied Record)</source>
        <translation>Bearbeiten (neuer kopierter Datensatz)</translation>
    </message>
    <message>
        <source>This record has not been updated yet.  Update this record before moving to the next record?</source>
        <translation>Dieser Datensatz wurde noch nicht gespeichert.  Ihn speichern, bevor zum nächsten Datensatz gewechselt wird?</translation>
    </message>
    <message>
        <source>This record has not been updated yet.  Update this record before moving to the previous record?</source>
        <translation>Dieser Datensatz wurde noch nicht gespeichert.  Ihn speichern, bevor zum vorherigen Datensatz gewechselt wird?</translation>
    </message>
    <message>
        <source>Data has changed.  Update this record before moving to the next record?</source>
        <translation>Die Daten wurden geändert.  Diesen Datensatz speichern, bevor zum nächsten Datensatz gewechselt wird?</translation>
    </message>
    <message>
        <source>Data has changed.  Update this record before moving to the previous record?</source>
        <translation>Die Daten wurden geändert.  Diesen Datensatz speichern, bevor zum vorherigen Datensatz gewechselt wird?</translation>
    </message>
    <message>
        <source>Data has changed.  Do you want to exit without updating?</source>
        <translation>Die Daten wurden geändert.  Ohne Speichern schließen?</translation>
    </message>
    <message>
        <source>The text &quot;%1&quot; is longer than the field holds (%2 bytes in a Unicode collection).  Please shorten it.</source>
        <translation>Der Text „%1“ ist länger, als das Feld fasst (%2 Bytes in einer Unicode-Sammlung). Bitte kürzen Sie ihn.</translation>
    </message>
    <message>
        <source>Paste as Co&amp;ver</source>
        <translation>Als Co&amp;ver einfügen</translation>
    </message>
    <message>
        <source>&amp;Fill In...</source>
        <translation>Aus&amp;füllen...</translation>
    </message>
    <message>
        <source>Fill In</source>
        <translation>Ausfüllen</translation>
    </message>
    <message>
        <source>Download IMDb&apos;s dataset files (title.basics, title.ratings, title.crew, title.principals, name.basics and title.akas .tsv.gz) into a folder and choose it in Options, IMDb Lookup Index; or give your TMDb API key in Options, TMDb Online Lookup.</source>
        <translation>Laden Sie die Datensatzdateien von IMDb (title.basics, title.ratings, title.crew, title.principals, name.basics und title.akas .tsv.gz) in einen Ordner und wählen Sie ihn unter Optionen, IMDb-Suchindex; oder geben Sie Ihren TMDb-API-Schlüssel unter Optionen, TMDb-Onlinesuche an.</translation>
    </message>
    <message>
        <source>the poster from TMDb</source>
        <translation>das Poster von TMDb</translation>
    </message>
</context>
<context>
    <name>edit::TMyOscarAward</name>
    <message>
        <source>Oscar Awards</source>
        <translation>Oscars</translation>
    </message>
    <message>
        <source>Oscar Nominations</source>
        <translation>Oscar-Nominierungen</translation>
    </message>
    <message>
        <source>Miscellaneous</source>
        <translation>Sonstiges</translation>
    </message>
</context>
<context>
    <name>edit_ui::TLentOut</name>
    <message>
        <source>Lent Out</source>
        <translation>Verliehen</translation>
    </message>
    <message>
        <source>Videos lent out</source>
        <translation>Verliehene Videos</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Media #</source>
        <translation>Medium Nr.</translation>
    </message>
    <message>
        <source>Lent To</source>
        <translation>Verliehen an</translation>
    </message>
    <message>
        <source>Since</source>
        <translation>Seit</translation>
    </message>
    <message>
        <source>Days Out</source>
        <translation>Tage weg</translation>
    </message>
    <message>
        <source>&amp;Overdue after</source>
        <translation>Über&amp;fällig nach</translation>
    </message>
    <message>
        <source> days</source>
        <translation> Tagen</translation>
    </message>
    <message>
        <source>&amp;Returned</source>
        <translation>&amp;Zurückgegeben</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>%1  OVERDUE</source>
        <translation>%1  ÜBERFÄLLIG</translation>
    </message>
    <message>
        <source>The record is no longer in the collection.</source>
        <translation>Der Datensatz ist nicht mehr in der Sammlung.</translation>
    </message>
</context>
<context>
    <name>engine</name>
    <message>
        <source>Cannot write the file &quot;%1&quot;: %2</source>
        <translation>Die Datei &quot;%1&quot; kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Cannot write the file &quot;%1&quot;.</source>
        <translation>Die Datei &quot;%1&quot; kann nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>Cannot make the report&apos;s temporary file in &quot;%1&quot;: %2</source>
        <translation>Die Zwischendatei des Berichts in &quot;%1&quot; kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>Cannot write the report&apos;s temporary file in &quot;%1&quot;: %2</source>
        <translation>Die Zwischendatei des Berichts in &quot;%1&quot; kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Cannot read the report&apos;s temporary file in &quot;%1&quot;: %2</source>
        <translation>Die Zwischendatei des Berichts in &quot;%1&quot; kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>Not enough memory to show the page.</source>
        <translation>Nicht genug Speicher, um die Seite zu zeigen.</translation>
    </message>
    <message>
        <source>Cannot write the report file &quot;%1&quot;: %2</source>
        <translation>Die Berichtsdatei &quot;%1&quot; kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>The printer &quot;%1&quot; could not start the job.</source>
        <translation>Der Drucker &quot;%1&quot; konnte den Auftrag nicht beginnen.</translation>
    </message>
    <message>
        <source>The printer &quot;%1&quot; could not finish the job.</source>
        <translation>Der Drucker &quot;%1&quot; konnte den Auftrag nicht beenden.</translation>
    </message>
    <message>
        <source>Printing page %p</source>
        <translation>Seite %p wird gedruckt</translation>
    </message>
</context>
<context>
    <name>exchange</name>
    <message>
        <source>The selected file has a field that is greater than 255 characters.</source>
        <translation>Die gewählte Datei hat ein Feld mit mehr als 255 Zeichen.</translation>
    </message>
    <message>
        <source>The selected file had an unexpected end of a line most likely due to an unmatched quote.</source>
        <translation>Eine Zeile der gewählten Datei endete unerwartet, wahrscheinlich wegen eines Anführungszeichens ohne Gegenstück.</translation>
    </message>
    <message>
        <source>The selected file has too many fields.  There are at least 10 more fields than are required by Reelkeeper.</source>
        <translation>Die gewählte Datei hat zu viele Felder.  Es sind mindestens 10 Felder mehr, als Reelkeeper braucht.</translation>
    </message>
    <message>
        <source>The selected file holds binary data (NUL characters), not text.</source>
        <translation>Die gewählte Datei enthält Binärdaten (NUL-Zeichen), keinen Text.</translation>
    </message>
    <message>
        <source>The first line of the selected file holds neither a comma nor a double quote.</source>
        <translation>Die erste Zeile der gewählten Datei enthält weder ein Komma noch ein Anführungszeichen.</translation>
    </message>
    <message>
        <source>The file selected does not appear to be an ASCII delimited text file.  An ASCII delimited file requires a unique format of each field being surrounded by double quotes and separated by a comma.  </source>
        <translation>Die gewählte Datei scheint keine ASCII-Textdatei mit Trennzeichen zu sein.  In einer solchen Datei steht jedes Feld in Anführungszeichen und ist durch ein Komma vom nächsten getrennt.  </translation>
    </message>
    <message>
        <source>The import stopped there. %1 record was imported before it and stay in the collection.</source>
        <translation>Der Import hielt dort an. %1 Datensatz wurde davor importiert und bleibt in der Sammlung.</translation>
    </message>
    <message>
        <source>The import stopped there. %1 records were imported before it and stay in the collection.</source>
        <translation>Der Import hielt dort an. %1 Datensätze wurden davor importiert und bleiben in der Sammlung.</translation>
    </message>
    <message>
        <source>Import cancelled. %1 record was imported and stay in the collection.</source>
        <translation>Import abgebrochen. %1 Datensatz wurde importiert und bleibt in der Sammlung.</translation>
    </message>
    <message>
        <source>Import cancelled. %1 records were imported and stay in the collection.</source>
        <translation>Import abgebrochen. %1 Datensätze wurden importiert und bleiben in der Sammlung.</translation>
    </message>
    <message>
        <source>Import Complete.</source>
        <translation>Import abgeschlossen.</translation>
    </message>
    <message>
        <source>%1 value holds characters that the collection cannot store as they are; they were stored in their nearest plain form (ł as l).</source>
        <translation>%1 Wert enthält Zeichen, die die Sammlung so nicht speichern kann; sie wurden in ihrer nächsten einfachen Form gespeichert (ł als l).</translation>
    </message>
    <message>
        <source>%1 values hold characters that the collection cannot store as they are; they were stored in their nearest plain form (ł as l).</source>
        <translation>%1 Werte enthalten Zeichen, die die Sammlung so nicht speichern kann; sie wurden in ihrer nächsten einfachen Form gespeichert (ł als l).</translation>
    </message>
    <message>
        <source>%1 value holds characters that the collection cannot store; they were stored as &quot;?&quot;.</source>
        <translation>%1 Wert enthält Zeichen, die die Sammlung nicht speichern kann; sie wurden als &quot;?&quot; gespeichert.</translation>
    </message>
    <message>
        <source>%1 values hold characters that the collection cannot store; they were stored as &quot;?&quot;.</source>
        <translation>%1 Werte enthalten Zeichen, die die Sammlung nicht speichern kann; sie wurden als &quot;?&quot; gespeichert.</translation>
    </message>
    <message>
        <source>%1 value was longer than 255 characters and cut to 255.</source>
        <translation>%1 Wert war länger als 255 Zeichen und wurde auf 255 gekürzt.</translation>
    </message>
    <message>
        <source>%1 values were longer than 255 characters and cut to 255.</source>
        <translation>%1 Werte waren länger als 255 Zeichen und wurden auf 255 gekürzt.</translation>
    </message>
    <message>
        <source>%1 value was not a number where the collection keeps one; those fields were left empty.</source>
        <translation>%1 Wert war keine Zahl, wo die Sammlung eine führt; diese Felder blieben leer.</translation>
    </message>
    <message>
        <source>%1 values were not a number where the collection keeps one; those fields were left empty.</source>
        <translation>%1 Werte waren keine Zahl, wo die Sammlung eine führt; diese Felder blieben leer.</translation>
    </message>
    <message>
        <source>%1 record was already in the collection and was not imported again.</source>
        <translation>%1 Datensatz war schon in der Sammlung und wurde nicht noch einmal importiert.</translation>
    </message>
    <message>
        <source>%1 records were already in the collection and were not imported again.</source>
        <translation>%1 Datensätze waren schon in der Sammlung und wurden nicht noch einmal importiert.</translation>
    </message>
    <message>
        <source>%1 value was longer than its field and cut to fit (%2).</source>
        <translation>%1 Wert war länger als sein Feld und wurde passend gekürzt (%2).</translation>
    </message>
    <message>
        <source>%1 values were longer than their fields and cut to fit (%2).</source>
        <translation>%1 Werte waren länger als ihre Felder und wurden passend gekürzt (%2).</translation>
    </message>
    <message>
        <source>%1 file was left out:</source>
        <translation>%1 Datei wurde ausgelassen:</translation>
    </message>
    <message>
        <source>%1 files were left out:</source>
        <translation>%1 Dateien wurden ausgelassen:</translation>
    </message>
    <message>
        <source>%1 line break inside quoted values was stored as blanks.</source>
        <translation>%1 Zeilenumbruch in Werten mit Anführungszeichen wurde als Leerzeichen gespeichert.</translation>
    </message>
    <message>
        <source>%1 line breaks inside quoted values were stored as blanks.</source>
        <translation>%1 Zeilenumbrüche in Werten mit Anführungszeichen wurden als Leerzeichen gespeichert.</translation>
    </message>
    <message>
        <source>%1 video</source>
        <translation>%1 Video</translation>
    </message>
    <message>
        <source>%1 videos</source>
        <translation>%1 Videos</translation>
    </message>
    <message>
        <source>%1 of %2 video</source>
        <translation>%1 von %2 Video</translation>
    </message>
    <message>
        <source>%1 of %2 videos</source>
        <translation>%1 von %2 Videos</translation>
    </message>
    <message>
        <source>en</source>
        <translation>de</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Search the catalogue</source>
        <translation>Im Katalog suchen</translation>
    </message>
    <message>
        <source>%1 number was too large for its field, which was left empty (%2).</source>
        <translation>%1 Zahl war zu groß für ihr Feld, das leer blieb (%2).</translation>
    </message>
    <message>
        <source>%1 numbers were too large for their fields, which were left empty (%2).</source>
        <translation>%1 Zahlen waren zu groß für ihre Felder, die leer blieben (%2).</translation>
    </message>
    <message>
        <source>%1 name, genre or key word did not fit its field beside the others and was left out (%2).</source>
        <translation>%1 Name, Genre oder Stichwort passte neben den anderen nicht in sein Feld und wurde ausgelassen (%2).</translation>
    </message>
    <message>
        <source>%1 names, genres or key words did not fit their fields beside the others and were left out (%2).</source>
        <translation>%1 Namen, Genres oder Stichwörter passten neben den anderen nicht in ihre Felder und wurden ausgelassen (%2).</translation>
    </message>
    <message>
        <source>Columns</source>
        <translation>Spalten</translation>
    </message>
    <message>
        <source>%1 cover came with its film.</source>
        <translation>%1 Cover kam mit seinem Film.</translation>
    </message>
    <message>
        <source>%1 covers came with their films.</source>
        <translation>%1 Cover kamen mit ihren Filmen.</translation>
    </message>
    <message>
        <source>%1 film had a cover already, which was kept; the catalogue&apos;s picture was not taken.</source>
        <translation>%1 Film hatte schon ein Cover, das behalten wurde; das Bild des Katalogs wurde nicht übernommen.</translation>
    </message>
    <message>
        <source>%1 films had a cover already, which was kept; the catalogue&apos;s pictures were not taken.</source>
        <translation>%1 Filme hatten schon ein Cover, das behalten wurde; die Bilder des Katalogs wurden nicht übernommen.</translation>
    </message>
    <message>
        <source>%1 picture was missing or could not be read; its film was imported without a cover:</source>
        <translation>%1 Bild fehlte oder war nicht lesbar; sein Film wurde ohne Cover importiert:</translation>
    </message>
    <message>
        <source>%1 pictures were missing or could not be read; their films were imported without a cover:</source>
        <translation>%1 Bilder fehlten oder waren nicht lesbar; ihre Filme wurden ohne Cover importiert:</translation>
    </message>
    <message>
        <source>and %1 more.</source>
        <translation>und %1 weitere.</translation>
    </message>
    <message>
        <source>The picture &quot;%1&quot; is not there.</source>
        <translation>Das Bild „%1“ ist nicht vorhanden.</translation>
    </message>
    <message>
        <source>The archive &quot;%1&quot; could not be written: %2</source>
        <translation>Das Archiv „%1“ konnte nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; could not be made.</source>
        <translation>Der Ordner „%1“ konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; could not be written: %2</source>
        <translation>Die Datei „%1“ konnte nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Cover</source>
        <translation>Cover</translation>
    </message>
</context>
<context>
    <name>exchange_ui::TImportFormat</name>
    <message>
        <source>Import Format</source>
        <translation>Importformat</translation>
    </message>
    <message>
        <source>Ascii Delimited File</source>
        <translation>ASCII-Datei mit Trennzeichen</translation>
    </message>
    <message>
        <source>DBase File (DBF)</source>
        <translation>dBASE-Datei (DBF)</translation>
    </message>
    <message>
        <source>Another Catalogue (IMDb, Letterboxd, GCstar, Tellico, Kodi)</source>
        <translation>Ein anderer Katalog (IMDb, Letterboxd, GCstar, Tellico, Kodi)</translation>
    </message>
    <message>
        <source>Select &amp;File</source>
        <translation>&amp;Datei wählen</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Import Data</source>
        <translation>Daten importieren</translation>
    </message>
    <message>
        <source>Ascii Delimited Text (*.TXT *.txt *.CSV *.csv)</source>
        <translation>ASCII-Text mit Trennzeichen (*.TXT *.txt *.CSV *.csv)</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>DBase  (*.DBF *.dbf)</source>
        <translation>dBASE  (*.DBF *.dbf)</translation>
    </message>
    <message>
        <source>Invalid file type selected.</source>
        <translation>Ungültiger Dateityp gewählt.</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>The file has %1 fields.  Only its first %2 can be imported.</source>
        <translation>Die Datei hat %1 Felder.  Nur ihre ersten %2 können importiert werden.</translation>
    </message>
    <message>
        <source>Catalogues (*.csv *.CSV *.gcs *.tc *.xml *.nfo);;All Files (*)</source>
        <translation>Kataloge (*.csv *.CSV *.gcs *.tc *.xml *.nfo);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>The file is no export of IMDb, Letterboxd, GCstar, Tellico or Kodi that this program knows.  A delimited text file imports as an Ascii Delimited File.

%1</source>
        <translation>Die Datei ist kein diesem Programm bekannter Export von IMDb, Letterboxd, GCstar, Tellico oder Kodi.  Eine Textdatei mit Trennzeichen wird als ASCII-Datei mit Trennzeichen importiert.

%1</translation>
    </message>
    <message>
        <source>Import every .nfo file in this folder and the folders inside it?</source>
        <translation>Jede .nfo-Datei in diesem Ordner und seinen Unterordnern importieren?</translation>
    </message>
    <message>
        <source>Leave out the films the collection already holds?</source>
        <translation>Filme auslassen, die schon in der Sammlung sind?</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>%1 record imported from %2 (%3).</source>
        <translation>%1 Datensatz aus %2 (%3) importiert.</translation>
    </message>
    <message>
        <source>%1 records imported from %2 (%3).</source>
        <translation>%1 Datensätze aus %2 (%3) importiert.</translation>
    </message>
    <message>
        <source>Kodi Library F&amp;older...</source>
        <translation>Kodi-Bibliothek, &amp;Ordner...</translation>
    </message>
    <message>
        <source>A folder of films, each in a folder of its own with its .nfo file, as Kodi keeps them</source>
        <translation>Ein Ordner mit Filmen, jeder in einem eigenen Ordner mit seiner .nfo-Datei, wie Kodi sie ablegt</translation>
    </message>
    <message>
        <source>Import a Kodi Library</source>
        <translation>Eine Kodi-Bibliothek importieren</translation>
    </message>
</context>
<context>
    <name>exchange_ui::TMyExport</name>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Fields to export</source>
        <translation>Zu exportierende Felder</translation>
    </message>
    <message>
        <source>FIELD</source>
        <translation>FELD</translation>
    </message>
    <message>
        <source>EXPORT IT</source>
        <translation>EXPORT</translation>
    </message>
    <message>
        <source>Field
Ordering</source>
        <translation>Feld-
reihenfolge</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>Nach &amp;oben</translation>
    </message>
    <message>
        <source>&amp;Down</source>
        <translation>Nach &amp;unten</translation>
    </message>
    <message>
        <source>D&amp;efaults</source>
        <translation>&amp;Standard</translation>
    </message>
    <message>
        <source>NOTES</source>
        <translation>HINWEISE</translation>
    </message>
    <message>
        <source>To have a field included in the export, select &quot;Yes&quot;.  To exclude it, select &quot;No&quot;.  Double click on the field to toggle between Yes and No.</source>
        <translation>Soll ein Feld exportiert werden, wählen Sie &quot;Ja&quot;.  Soll es fehlen, wählen Sie &quot;Nein&quot;.  Ein Doppelklick auf das Feld wechselt zwischen Ja und Nein.</translation>
    </message>
    <message>
        <source>What to Export</source>
        <translation>Was exportiert wird</translation>
    </message>
    <message>
        <source>Export Entire Database</source>
        <translation>Ganze Datenbank exportieren</translation>
    </message>
    <message>
        <source>Export Search Criteria</source>
        <translation>Suchergebnis exportieren</translation>
    </message>
    <message>
        <source>How To Export</source>
        <translation>Wie exportiert wird</translation>
    </message>
    <message>
        <source>Ascii Delimited Text File</source>
        <translation>ASCII-Textdatei mit Trennzeichen</translation>
    </message>
    <message>
        <source>DBase File (DBF)</source>
        <translation>dBASE-Datei (DBF)</translation>
    </message>
    <message>
        <source>&amp;First Record Contains Field Names</source>
        <translation>Erster Datensatz enthält &amp;Feldnamen</translation>
    </message>
    <message>
        <source>Tellico File (TC, XML)</source>
        <translation>Tellico-Datei (TC, XML)</translation>
    </message>
    <message>
        <source>HTML Catalogue</source>
        <translation>HTML-Katalog</translation>
    </message>
    <message>
        <source>Export Progress</source>
        <translation>Fortschritt des Exports</translation>
    </message>
    <message>
        <source>&amp;Start Export</source>
        <translation>Export &amp;beginnen</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>Be&amp;enden</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Re-Order</source>
        <translation>Neu ordnen</translation>
    </message>
    <message>
        <source>This will set the order of fields to the program defaults.  Continue?</source>
        <translation>Damit erhalten die Felder die vorgegebene Reihenfolge des Programms.  Fortfahren?</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>No fields selected for export.</source>
        <translation>Keine Felder für den Export gewählt.</translation>
    </message>
    <message>
        <source>Ascii Delimited Text (*.TXT *.txt)</source>
        <translation>ASCII-Text mit Trennzeichen (*.TXT *.txt)</translation>
    </message>
    <message>
        <source>DBase (*.DBF *.dbf)</source>
        <translation>dBASE (*.DBF *.dbf)</translation>
    </message>
    <message>
        <source>Tellico (*.tc *.xml *.XML)</source>
        <translation>Tellico (*.tc *.xml *.XML)</translation>
    </message>
    <message>
        <source>HTML (*.html *.htm)</source>
        <translation>HTML (*.html *.htm)</translation>
    </message>
    <message>
        <source>Export Data</source>
        <translation>Daten exportieren</translation>
    </message>
    <message>
        <source>Invalid file type selected.</source>
        <translation>Ungültiger Dateityp gewählt.</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Export Complete.</source>
        <translation>Export abgeschlossen.</translation>
    </message>
    <message>
        <source>%1 record written to %2.</source>
        <translation>%1 Datensatz in %2 geschrieben.</translation>
    </message>
    <message>
        <source>%1 records written to %2.</source>
        <translation>%1 Datensätze in %2 geschrieben.</translation>
    </message>
    <message>
        <source>Kodi Movie Library (NFO)</source>
        <translation>Kodi-Filmbibliothek (NFO)</translation>
    </message>
    <message>
        <source>&amp;With the covers of the films</source>
        <translation>&amp;Mit den Covern der Filme</translation>
    </message>
    <message>
        <source>Export into Folder</source>
        <translation>In Ordner exportieren</translation>
    </message>
    <message>
        <source>%1 cover taken along.</source>
        <translation>%1 Cover mitgenommen.</translation>
    </message>
    <message>
        <source>%1 covers taken along.</source>
        <translation>%1 Cover mitgenommen.</translation>
    </message>
    <message>
        <source>%1 cover could not be written:</source>
        <translation>%1 Cover konnte nicht geschrieben werden:</translation>
    </message>
    <message>
        <source>%1 covers could not be written:</source>
        <translation>%1 Cover konnten nicht geschrieben werden:</translation>
    </message>
</context>
<context>
    <name>exchange_ui::TMyImport</name>
    <message>
        <source>Ascii Delimited Text Import</source>
        <translation>Import von ASCII-Text mit Trennzeichen</translation>
    </message>
    <message>
        <source>DBase File Import</source>
        <translation>Import einer dBASE-Datei</translation>
    </message>
    <message>
        <source>Fields to import</source>
        <translation>Zu importierende Felder</translation>
    </message>
    <message>
        <source>REELKEEPER FIELDS</source>
        <translation>FELDER</translation>
    </message>
    <message>
        <source>IMPORT FIELDS</source>
        <translation>IMPORTFELDER</translation>
    </message>
    <message>
        <source>USE</source>
        <translation>NUTZEN</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>The first records as they will be stored:</source>
        <translation>Die ersten Datensätze, wie sie gespeichert werden:</translation>
    </message>
    <message>
        <source>Field
Alignment</source>
        <translation>Feld-
zuordnung</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>Nach &amp;oben</translation>
    </message>
    <message>
        <source>&amp;Down</source>
        <translation>Nach &amp;unten</translation>
    </message>
    <message>
        <source>Skip First Record</source>
        <translation>Ersten Datensatz überspringen</translation>
    </message>
    <message>
        <source>Leave Out Videos Already Held</source>
        <translation>Schon vorhandene Videos auslassen</translation>
    </message>
    <message>
        <source>Import
Count</source>
        <translation>Import-
zähler</translation>
    </message>
    <message>
        <source>Import Count</source>
        <translation>Importzähler</translation>
    </message>
    <message>
        <source>Use the &quot;Up&quot; and &quot;Down&quot; buttons to match up the Reelkeeper fields with the Import Fields.  Select &quot;Yes&quot;  to include it.  Double click on the &quot;USE&quot; field to toggle between Yes and No.</source>
        <translation>Ordnen Sie mit &quot;Nach oben&quot; und &quot;Nach unten&quot; die Reelkeeper-Felder den Importfeldern zu.  Wählen Sie &quot;Ja&quot;, um ein Feld zu übernehmen.  Ein Doppelklick auf das Feld &quot;NUTZEN&quot; wechselt zwischen Ja und Nein.</translation>
    </message>
    <message>
        <source>&amp;Start Import</source>
        <translation>Import &amp;starten</translation>
    </message>
    <message>
        <source>&amp;Cancel Import</source>
        <translation>Import &amp;abbrechen</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&lt;EMPTY&gt;</source>
        <translation>&lt;LEER&gt;</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>find</name>
    <message>
        <source>Search and Replace requires exclusive use of the DBase File.  Make sure that the DBase File is not in use by another program  or that no other users are running the software or that no other copies of the software are in use.</source>
        <translation>Suchen und Ersetzen braucht die dBASE-Datei für sich allein.  Stellen Sie sicher, dass die dBASE-Datei von keinem anderen Programm benutzt wird, dass keine anderen Benutzer die Software ausführen und dass keine anderen Kopien der Software laufen.</translation>
    </message>
    <message>
        <source>Invalid search criteria entered.  Please correct.</source>
        <translation>Ungültige Suchkriterien eingegeben.  Bitte korrigieren.</translation>
    </message>
    <message>
        <source>No search criteria entered.</source>
        <translation>Keine Suchkriterien eingegeben.</translation>
    </message>
    <message>
        <source>No valid matches found.  Search Criteria will be cleared.</source>
        <translation>Keine passenden Treffer gefunden.  Die Suchkriterien werden gelöscht.</translation>
    </message>
    <message>
        <source>More than %1 search items have been entered.  This exceeds the maximum allowable.  Search criteria will be cleared.</source>
        <translation>Mehr als %1 Suchangaben wurden eingegeben.  Das übersteigt die erlaubte Höchstzahl.  Die Suchkriterien werden gelöscht.</translation>
    </message>
    <message>
        <source>Creating a new sort order requires exclusive use of the DBase File.  Make sure that the DBase File is not in use by another program  or that no other users are running the software or that no other copies of the software are in use.</source>
        <translation>Eine neue Sortierfolge braucht die dBASE-Datei für sich allein.  Stellen Sie sicher, dass die dBASE-Datei von keinem anderen Programm benutzt wird, dass keine anderen Benutzer die Software ausführen und dass keine anderen Kopien der Software laufen.</translation>
    </message>
    <message>
        <source>No field has been selected.</source>
        <translation>Es wurde kein Feld gewählt.</translation>
    </message>
    <message>
        <source>Invalid search value entered.  Please correct.</source>
        <translation>Ungültiger Suchwert eingegeben.  Bitte korrigieren.</translation>
    </message>
    <message>
        <source>Invalid replacement value entered.  Please correct.</source>
        <translation>Ungültiger Ersetzungswert eingegeben.  Bitte korrigieren.</translation>
    </message>
    <message>
        <source>Invalid search date entered.  Please correct.</source>
        <translation>Ungültiges Suchdatum eingegeben.  Bitte korrigieren.</translation>
    </message>
    <message>
        <source>Invalid replacement date entered.  Please correct.</source>
        <translation>Ungültiges Ersetzungsdatum eingegeben.  Bitte korrigieren.</translation>
    </message>
    <message>
        <source>The text &quot;%1&quot; holds characters that a collection cannot store.  Please correct.</source>
        <translation>Der Text &quot;%1&quot; enthält Zeichen, die eine Sammlung nicht speichern kann.  Bitte korrigieren.</translation>
    </message>
    <message>
        <source>The replacement text is longer than the field %1 holds.  Please correct.</source>
        <translation>Der Ersatztext ist länger, als das Feld %1 fasst. Bitte korrigieren.</translation>
    </message>
</context>
<context>
    <name>find::TDuplicates</name>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Jahr</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>Media #</source>
        <translation>Medium Nr.</translation>
    </message>
    <message>
        <source>Director</source>
        <translation>Regie</translation>
    </message>
    <message>
        <source>Star 1</source>
        <translation>Darsteller 1</translation>
    </message>
    <message>
        <source>Find Duplicates</source>
        <translation>Doppelte finden</translation>
    </message>
    <message>
        <source>Same &amp;Year Only</source>
        <translation>Nur gleiches &amp;Jahr</translation>
    </message>
    <message>
        <source>Same F&amp;ormat Only</source>
        <translation>Nur gleiches F&amp;ormat</translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation>&amp;Finden</translation>
    </message>
    <message>
        <source>Groups of duplicates</source>
        <translation>Gruppen doppelter Datensätze</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Datensatz</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Not Duplicates</source>
        <translation>&amp;Keine Doppelten</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Find Duplicates (the largest %1 groups of %2)</source>
        <translation>Doppelte finden (die größten %1 von %2 Gruppen)</translation>
    </message>
    <message numerus="yes">
        <source>%n records</source>
        <translation>
            <numerusform>%n Datensatz</numerusform>
            <numerusform>%n Datensätze</numerusform>
        </translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Anhalten</translation>
    </message>
    <message>
        <source>Looking for duplicates...</source>
        <translation>Suche nach Duplikaten...</translation>
    </message>
    <message>
        <source>Looking for duplicates: %1 of %2 records...</source>
        <translation>Suche nach Duplikaten: %1 von %2 Datensätzen...</translation>
    </message>
    <message>
        <source>Stopped.</source>
        <translation>Angehalten.</translation>
    </message>
    <message>
        <source>No duplicates found.</source>
        <translation>Keine Duplikate gefunden.</translation>
    </message>
    <message>
        <source>Groups shown: %1, with %2 records.</source>
        <translation>Angezeigte Gruppen: %1, mit %2 Datensätzen.</translation>
    </message>
</context>
<context>
    <name>find::TMyLocateDlg</name>
    <message>
        <source>&amp;Field To Search On</source>
        <translation>&amp;Feld für die Suche</translation>
    </message>
    <message>
        <source>&amp;Search Type</source>
        <translation>Such&amp;art</translation>
    </message>
    <message>
        <source>&amp;Case-sensitive</source>
        <translation>&amp;Groß-/Kleinschreibung beachten</translation>
    </message>
    <message>
        <source>&amp;Exact Match</source>
        <translation>&amp;Exakte Übereinstimmung</translation>
    </message>
    <message>
        <source>&amp;Partial Match at Beginning</source>
        <translation>Teilweise am A&amp;nfang</translation>
    </message>
    <message>
        <source>Partial Match &amp;Anywhere</source>
        <translation>Teilweise &amp;irgendwo</translation>
    </message>
    <message>
        <source>Search &amp;Value</source>
        <translation>&amp;Suchwert</translation>
    </message>
    <message>
        <source>Fi&amp;rst</source>
        <translation>E&amp;rster</translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation>&amp;Weiter</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Information</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>No matches found</source>
        <translation>Keine Treffer gefunden</translation>
    </message>
    <message>
        <source>No more matches found</source>
        <translation>Keine weiteren Treffer gefunden</translation>
    </message>
</context>
<context>
    <name>find::TMySearch</name>
    <message>
        <source>Search</source>
        <translation>Suche</translation>
    </message>
    <message>
        <source>Search items</source>
        <translation>Suchangaben</translation>
    </message>
    <message>
        <source> FIELD</source>
        <translation> FELD</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Clear Search</source>
        <translation>Suche &amp;löschen</translation>
    </message>
    <message>
        <source>&amp;Find More</source>
        <translation>&amp;Mehr finden</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source> SEARCH CRITERIA    (Level %1)</source>
        <translation> SUCHKRITERIEN    (Ebene %1)</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Notice</source>
        <translation>Hinweis</translation>
    </message>
</context>
<context>
    <name>find::TMySortOrder</name>
    <message>
        <source>Error in implementing sort order.  New sort order not implemented.</source>
        <translation>Fehler beim Einrichten der Sortierfolge.  Die neue Sortierfolge wurde nicht eingerichtet.</translation>
    </message>
    <message>
        <source>Sort Order</source>
        <translation>Sortierfolge</translation>
    </message>
    <message>
        <source>Primary Sort</source>
        <translation>Erste Sortierung</translation>
    </message>
    <message>
        <source>Secondary Sort</source>
        <translation>Zweite Sortierung</translation>
    </message>
    <message>
        <source>Third Level Sort</source>
        <translation>Dritte Sortierung</translation>
    </message>
    <message>
        <source>Fourth Level Sort</source>
        <translation>Vierte Sortierung</translation>
    </message>
    <message>
        <source>&lt;NONE&gt;</source>
        <translation>&lt;KEINE&gt;</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
</context>
<context>
    <name>find::TSearchAndReplace</name>
    <message>
        <source>Error in running search and replace.  Search and replace will be aborted.</source>
        <translation>Fehler beim Suchen und Ersetzen.  Suchen und Ersetzen wird abgebrochen.</translation>
    </message>
    <message>
        <source>Global Search and Replace Complete.</source>
        <translation>Globales Suchen und Ersetzen abgeschlossen.</translation>
    </message>
    <message>
        <source>Search and Replace</source>
        <translation>Suchen und Ersetzen</translation>
    </message>
    <message>
        <source>Field </source>
        <translation>Feld </translation>
    </message>
    <message>
        <source>Text To Search For</source>
        <translation>Zu suchender Text</translation>
    </message>
    <message>
        <source>Replacement Text</source>
        <translation>Ersatztext</translation>
    </message>
    <message>
        <source>Confirm Before Replacing</source>
        <translation>Vor dem Ersetzen fragen</translation>
    </message>
    <message>
        <source>Processed</source>
        <translation>Bearbeitet</translation>
    </message>
    <message>
        <source>Found</source>
        <translation>Gefunden</translation>
    </message>
    <message>
        <source>Changed</source>
        <translation>Geändert</translation>
    </message>
    <message>
        <source>&amp;Start Search</source>
        <translation>Suche &amp;starten</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>No field has been selected.</source>
        <translation>Es wurde kein Feld gewählt.</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
    <message>
        <source>Item = &quot;%1&quot;.  Change this record?</source>
        <translation>Eintrag = &quot;%1&quot;.  Diesen Datensatz ändern?</translation>
    </message>
    <message>
        <source>Search and replace stopped after %1 changed records; the records changed before stay changed.  %2</source>
        <translation>Suchen und Ersetzen hielt nach %1 geänderten Datensätzen an; die bis dahin geänderten Datensätze bleiben geändert.  %2</translation>
    </message>
    <message>
        <source>Finished</source>
        <translation>Fertig</translation>
    </message>
</context>
<context>
    <name>find::TSearchOptions</name>
    <message>
        <source>Search Options</source>
        <translation>Suchoptionen</translation>
    </message>
</context>
<context>
    <name>report</name>
    <message>
        <source>The left and right margins leave no room to print on the page.  Please correct them.</source>
        <translation>Der linke und der rechte Rand lassen keinen Platz zum Drucken auf der Seite.  Bitte korrigieren Sie sie.</translation>
    </message>
    <message>
        <source>The top and bottom margins leave no room to print on the page.  Please correct them.</source>
        <translation>Der obere und der untere Rand lassen keinen Platz zum Drucken auf der Seite.  Bitte korrigieren Sie sie.</translation>
    </message>
    <message>
        <source>Line %1 has a field part without a field.  Please choose one.</source>
        <translation>Zeile %1 hat einen Feldteil ohne Feld.  Bitte wählen Sie eines.</translation>
    </message>
    <message>
        <source>The totals line has a field part without a total.  Please choose one.</source>
        <translation>Die Summenzeile hat einen Feldteil ohne Summe.  Bitte wählen Sie eine.</translation>
    </message>
    <message>
        <source>Scanning database for media numbers.</source>
        <translation>Die Datenbank wird nach Mediennummern durchsucht.</translation>
    </message>
    <message>
        <source>Quantity:</source>
        <translation>Anzahl:</translation>
    </message>
    <message>
        <source>List Price:</source>
        <translation>Listenpreis:</translation>
    </message>
    <message>
        <source>Purchase Price:</source>
        <translation>Kaufpreis:</translation>
    </message>
    <message>
        <source>Media Number:</source>
        <translation>Medien-Nr.:</translation>
    </message>
    <message>
        <source>Title:</source>
        <translation>Titel:</translation>
    </message>
    <message>
        <source>Year:</source>
        <translation>Jahr:</translation>
    </message>
    <message>
        <source>Stars:</source>
        <translation>Mit:</translation>
    </message>
    <message>
        <source>Oscar Nom:</source>
        <translation>Nominiert:</translation>
    </message>
    <message>
        <source>Oscar Award:</source>
        <translation>Oscars:</translation>
    </message>
    <message>
        <source>Title and Media Number Report</source>
        <translation>Bericht Titel und Mediennummer</translation>
    </message>
    <message>
        <source>Ratings Report</source>
        <translation>Bericht nach Altersfreigabe</translation>
    </message>
    <message>
        <source>Star Report</source>
        <translation>Bericht nach Darstellern</translation>
    </message>
    <message>
        <source>Oscar Report</source>
        <translation>Oscar-Bericht</translation>
    </message>
    <message>
        <source>Large Report</source>
        <translation>Großer Bericht</translation>
    </message>
    <message>
        <source>Producer:</source>
        <translation>Produzent:</translation>
    </message>
    <message>
        <source>Director:</source>
        <translation>Regie:</translation>
    </message>
    <message>
        <source>Released By:</source>
        <translation>Verleih:</translation>
    </message>
    <message>
        <source>Category:</source>
        <translation>Kategorie:</translation>
    </message>
    <message>
        <source>Rating:</source>
        <translation>Freigabe:</translation>
    </message>
    <message>
        <source>Personal Rating:</source>
        <translation>Eigene Bewertung:</translation>
    </message>
    <message>
        <source>Content:</source>
        <translation>Inhalt:</translation>
    </message>
    <message>
        <source>Play Time:</source>
        <translation>Laufzeit:</translation>
    </message>
    <message>
        <source>Picture:</source>
        <translation>Bild:</translation>
    </message>
    <message>
        <source>Sound:</source>
        <translation>Ton:</translation>
    </message>
    <message>
        <source>Format:</source>
        <translation>Format:</translation>
    </message>
    <message>
        <source>Record Speed:</source>
        <translation>Bandgeschw.:</translation>
    </message>
    <message>
        <source>Laser Format:</source>
        <translation>Laser-Format:</translation>
    </message>
    <message>
        <source>Counter Start:</source>
        <translation>Zähler Anfang:</translation>
    </message>
    <message>
        <source>Counter Stop:</source>
        <translation>Zähler Ende:</translation>
    </message>
    <message>
        <source>Key Words:</source>
        <translation>Stichwörter:</translation>
    </message>
    <message>
        <source>Miscellaneous:</source>
        <translation>Sonstiges:</translation>
    </message>
    <message>
        <source>Summary:</source>
        <translation>Handlung:</translation>
    </message>
    <message>
        <source>Statistic/Summary Report</source>
        <translation>Statistik-/Übersichtsbericht</translation>
    </message>
    <message>
        <source>Printing Page %p<byte value="xd"/>%0<byte value="xd"/>%1</source>
        <translation>Seite %p wird gedruckt<byte value="xd"/>%0<byte value="xd"/>%1</translation>
    </message>
    <message>
        <source>Formatting Label %1</source>
        <translation>Etikett %1 wird gesetzt</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 Min.</translation>
    </message>
    <message>
        <source>Start: %1</source>
        <translation>Start: %1</translation>
    </message>
    <message>
        <source>Stop: %1</source>
        <translation>Stopp: %1</translation>
    </message>
    <message>
        <source>Page %1</source>
        <translation>Seite %1</translation>
    </message>
    <message>
        <source>TOTALS</source>
        <translation>SUMMEN</translation>
    </message>
    <message>
        <source>GRAND TOTALS</source>
        <translation>GESAMTSUMMEN</translation>
    </message>
    <message>
        <source>Quantity</source>
        <translation>Anzahl</translation>
    </message>
    <message>
        <source>List Price</source>
        <translation>Listenpreis</translation>
    </message>
    <message>
        <source>Purchase Price</source>
        <translation>Kaufpreis</translation>
    </message>
</context>
<context>
    <name>report_ui::LayoutView</name>
    <message>
        <source>Report Body</source>
        <translation>Berichtsrumpf</translation>
    </message>
    <message>
        <source>Report Totals</source>
        <translation>Berichtssummen</translation>
    </message>
    <message>
        <source>Filler</source>
        <translation>Füllraum</translation>
    </message>
    <message>
        <source>Cover (lines: %1)</source>
        <translation>Cover (Zeilen: %1)</translation>
    </message>
</context>
<context>
    <name>report_ui::TChooseMedia</name>
    <message>
        <source>Choose Media Number</source>
        <translation>Mediennummer wählen</translation>
    </message>
    <message>
        <source>Media numbers</source>
        <translation>Mediennummern</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
</context>
<context>
    <name>report_ui::TLabelOptions</name>
    <message>
        <source>Label Options</source>
        <translation>Etikettenoptionen</translation>
    </message>
    <message>
        <source>Items To Include</source>
        <translation>Aufzunehmende Angaben</translation>
    </message>
    <message>
        <source>Font To Use</source>
        <translation>Zu verwendende Schrift</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>report_ui::TMyPreview</name>
    <message>
        <source>Label Printing</source>
        <translation>Etikettendruck</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Print Page</source>
        <translation>&amp;Seite drucken</translation>
    </message>
    <message>
        <source>Print &amp;Report</source>
        <translation>&amp;Bericht drucken</translation>
    </message>
    <message>
        <source>Print Ran&amp;ge</source>
        <translation>Be&amp;reich drucken</translation>
    </message>
    <message>
        <source>Printer &amp;Setup</source>
        <translation>Drucker&amp;einrichtung</translation>
    </message>
    <message>
        <source>Save as P&amp;DF...</source>
        <translation>Als P&amp;DF speichern...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Verlassen</translation>
    </message>
    <message>
        <source>&amp;Navigate</source>
        <translation>&amp;Navigieren</translation>
    </message>
    <message>
        <source>&amp;Previous Page</source>
        <translation>&amp;Vorherige Seite</translation>
    </message>
    <message>
        <source>&amp;Next Page</source>
        <translation>&amp;Nächste Seite</translation>
    </message>
    <message>
        <source>&amp;First Page</source>
        <translation>&amp;Erste Seite</translation>
    </message>
    <message>
        <source>&amp;Last Page</source>
        <translation>&amp;Letzte Seite</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>Use Color</source>
        <translation>Farbe verwenden</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>&amp;Vergrößern</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>Ver&amp;kleinern</translation>
    </message>
    <message>
        <source>Zoom &amp;Page Width</source>
        <translation>&amp;Seitenbreite</translation>
    </message>
    <message>
        <source>Zoom &amp;Whole Page</source>
        <translation>&amp;Ganze Seite</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>Zoom Page Width</source>
        <translation>Seitenbreite</translation>
    </message>
    <message>
        <source>Zoom Whole Page</source>
        <translation>Ganze Seite</translation>
    </message>
    <message>
        <source>Prev Page</source>
        <translation>Vorherige Seite</translation>
    </message>
    <message>
        <source>Next Page</source>
        <translation>Nächste Seite</translation>
    </message>
    <message>
        <source>Print Page</source>
        <translation>Seite drucken</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Zoom %</source>
        <translation>Zoom %</translation>
    </message>
    <message>
        <source>Page #</source>
        <translation>Seite Nr.</translation>
    </message>
    <message>
        <source>Pages of the report</source>
        <translation>Seiten des Berichts</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Previous print job has not yet finished.  Try again later.</source>
        <translation>Der vorige Druckauftrag ist noch nicht fertig.  Versuchen Sie es später noch einmal.</translation>
    </message>
    <message>
        <source>Printing page %1 of %2</source>
        <translation>Seite %1 von %2 wird gedruckt</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Save Report As PDF</source>
        <translation>Bericht als PDF speichern</translation>
    </message>
    <message>
        <source>PDF Files (*.pdf *.PDF)</source>
        <translation>PDF-Dateien (*.pdf *.PDF)</translation>
    </message>
    <message>
        <source>Saving page %1 of %2</source>
        <translation>Seite %1 von %2 wird gespeichert</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>Seite %1 von %2</translation>
    </message>
</context>
<context>
    <name>report_ui::TMyReport</name>
    <message>
        <source>No Report has been selected.  Please choose one.</source>
        <translation>Es wurde kein Bericht gewählt.  Bitte wählen Sie einen.</translation>
    </message>
    <message>
        <source>*NOT USED*</source>
        <translation>*NICHT BENUTZT*</translation>
    </message>
    <message>
        <source>No Sort Order Selected</source>
        <translation>Keine Sortierfolge gewählt</translation>
    </message>
    <message>
        <source>Reports</source>
        <translation>Berichte</translation>
    </message>
    <message>
        <source>Current Sort Order</source>
        <translation>Aktuelle Sortierfolge</translation>
    </message>
    <message>
        <source>What to Print</source>
        <translation>Was gedruckt wird</translation>
    </message>
    <message>
        <source>Entire Database</source>
        <translation>Ganze Datenbank</translation>
    </message>
    <message>
        <source>Search Criteria</source>
        <translation>Suchergebnis</translation>
    </message>
    <message>
        <source>Face Labels</source>
        <translation>Frontetiketten</translation>
    </message>
    <message>
        <source>Spine Labels</source>
        <translation>Rückenetiketten</translation>
    </message>
    <message>
        <source>Report Selection</source>
        <translation>Berichtsauswahl</translation>
    </message>
    <message>
        <source>Media Numbers</source>
        <translation>Mediennummern</translation>
    </message>
    <message>
        <source>Label Style</source>
        <translation>Etikettenart</translation>
    </message>
    <message>
        <source>Avery 5199 (USA)</source>
        <translation>Avery 5199 (USA)</translation>
    </message>
    <message>
        <source>Avery L7654 (European)</source>
        <translation>Avery L7654 (Europa)</translation>
    </message>
    <message>
        <source>NOTES
Double Click on a media number for a list of possible media numbers.</source>
        <translation>HINWEISE
Ein Doppelklick auf eine Mediennummer zeigt die möglichen Mediennummern.</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansehen</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Drucken</translation>
    </message>
    <message>
        <source>Print To &amp;File</source>
        <translation>In Datei dr&amp;ucken</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Modify Report</source>
        <translation>Bericht &amp;ändern</translation>
    </message>
    <message>
        <source>&amp;New Report</source>
        <translation>&amp;Neuer Bericht</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Save Report As a Text File</source>
        <translation>Bericht als Textdatei speichern</translation>
    </message>
    <message>
        <source>Text Files (*.TXT *.txt)</source>
        <translation>Textdateien (*.TXT *.txt)</translation>
    </message>
    <message>
        <source>Report format could not be located.</source>
        <translation>Das Berichtsformat wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>Test Report</source>
        <translation>Testbericht</translation>
    </message>
    <message>
        <source>Report format could not be located.

%1</source>
        <translation>Das Berichtsformat wurde nicht gefunden.

%1</translation>
    </message>
    <message>
        <source>No items are selected for print.  Please select printing criteria via the &quot;Options&quot; button.</source>
        <translation>Es sind keine Angaben zum Drucken gewählt.  Bitte wählen Sie sie über den Knopf &quot;Optionen&quot;.</translation>
    </message>
    <message>
        <source>No media numbers have been entered.  Please enter/choose some media numbers.</source>
        <translation>Es wurden keine Mediennummern eingegeben.  Bitte geben Sie Mediennummern ein oder wählen Sie welche.</translation>
    </message>
    <message>
        <source>Labels</source>
        <translation>Etiketten</translation>
    </message>
</context>
<context>
    <name>report_ui::TPrintRange</name>
    <message>
        <source>Invalid Starting Page specified. Please correct.</source>
        <translation>Ungültige erste Seite angegeben. Bitte korrigieren.</translation>
    </message>
    <message>
        <source>Invalid Ending Page specified.  Please correct.</source>
        <translation>Ungültige letzte Seite angegeben.  Bitte korrigieren.</translation>
    </message>
    <message>
        <source>Page Printing</source>
        <translation>Seiten drucken</translation>
    </message>
    <message>
        <source>Starting Page</source>
        <translation>Erste Seite</translation>
    </message>
    <message>
        <source>Ending Page</source>
        <translation>Letzte Seite</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Drucken</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
</context>
<context>
    <name>report_ui::TRepLayout</name>
    <message>
        <source>Specify Report Layout</source>
        <translation>Berichtsaufbau festlegen</translation>
    </message>
    <message>
        <source>Report: %1</source>
        <translation>Bericht: %1</translation>
    </message>
    <message>
        <source>Using the left mouse button, click on the area where you would like to add or change the report layout.</source>
        <translation>Klicken Sie mit der linken Maustaste auf die Stelle, an der Sie den Berichtsaufbau ergänzen oder ändern möchten.</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
</context>
<context>
    <name>report_ui::TReportFonts</name>
    <message>
        <source>Report Fonts</source>
        <translation>Berichtsschriften</translation>
    </message>
    <message>
        <source>Titles Font</source>
        <translation>Schrift der Titel</translation>
    </message>
    <message>
        <source>Column Header Font</source>
        <translation>Schrift der Spaltenköpfe</translation>
    </message>
    <message>
        <source>Report Body Font</source>
        <translation>Schrift des Berichtsrumpfs</translation>
    </message>
    <message>
        <source>Footnote Font</source>
        <translation>Schrift der Fußnoten</translation>
    </message>
    <message>
        <source>New Font</source>
        <translation>Neue Schrift</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
</context>
<context>
    <name>report_ui::TReportForm</name>
    <message>
        <source>Printing Status</source>
        <translation>Druckstatus</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Report Status Screen</source>
        <translation>Berichtsstatus</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Report Canceled!</source>
        <translation>Bericht abgebrochen!</translation>
    </message>
    <message>
        <source>Report Completed!</source>
        <translation>Bericht fertig!</translation>
    </message>
</context>
<context>
    <name>report_ui::TReportPart</name>
    <message>
        <source>Select Report Part</source>
        <translation>Berichtsteil wählen</translation>
    </message>
    <message>
        <source>Totals Line, Item %1</source>
        <translation>Summenzeile, Eintrag %1</translation>
    </message>
    <message>
        <source>Line %1, Item %2</source>
        <translation>Zeile %1, Eintrag %2</translation>
    </message>
    <message>
        <source>Selected Part</source>
        <translation>Gewählter Teil</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Art</translation>
    </message>
    <message>
        <source>Filler (empty space)</source>
        <translation>Füllraum (leerer Platz)</translation>
    </message>
    <message>
        <source>Label (constant value)</source>
        <translation>Beschriftung (fester Wert)</translation>
    </message>
    <message>
        <source>Field (database value)</source>
        <translation>Feld (Wert aus der Datenbank)</translation>
    </message>
    <message>
        <source>Fields</source>
        <translation>Felder</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Breite</translation>
    </message>
    <message>
        <source>Label Name</source>
        <translation>Beschriftung</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Invalid width entered.  Please correct.</source>
        <translation>Ungültige Breite eingegeben.  Bitte korrigieren.</translation>
    </message>
    <message>
        <source>No total is selected.  Please choose one from the Fields list.</source>
        <translation>Es ist keine Summe gewählt.  Bitte wählen Sie eine aus der Liste der Felder.</translation>
    </message>
    <message>
        <source>No field is selected.  Please choose one from the Fields list.</source>
        <translation>Es ist kein Feld gewählt.  Bitte wählen Sie eines aus der Liste der Felder.</translation>
    </message>
    <message>
        <source>Cover (the film&apos;s picture)</source>
        <translation>Cover (das Bild des Films)</translation>
    </message>
    <message>
        <source>Lines tall</source>
        <translation>Zeilen hoch</translation>
    </message>
</context>
<context>
    <name>report_ui::TUserReport</name>
    <message>
        <source>Report Definition</source>
        <translation>Berichtsdefinition</translation>
    </message>
    <message>
        <source>Report Name</source>
        <translation>Berichtsname</translation>
    </message>
    <message>
        <source>Report Width</source>
        <translation>Berichtsbreite</translation>
    </message>
    <message>
        <source>90 Chars</source>
        <translation>90 Zeichen</translation>
    </message>
    <message>
        <source>120 Chars</source>
        <translation>120 Zeichen</translation>
    </message>
    <message>
        <source>150 Chars</source>
        <translation>150 Zeichen</translation>
    </message>
    <message>
        <source>Report Fonts</source>
        <translation>Berichtsschriften</translation>
    </message>
    <message>
        <source>Title Lines</source>
        <translation>Titelzeilen</translation>
    </message>
    <message>
        <source>Column Headers</source>
        <translation>Spaltenköpfe</translation>
    </message>
    <message>
        <source>Report Body</source>
        <translation>Berichtsrumpf</translation>
    </message>
    <message>
        <source>Footnotes</source>
        <translation>Fußnoten</translation>
    </message>
    <message>
        <source>&amp;Set Fonts</source>
        <translation>&amp;Schriften festlegen</translation>
    </message>
    <message>
        <source>Report Titles</source>
        <translation>Berichtstitel</translation>
    </message>
    <message>
        <source>Miscellaneous</source>
        <translation>Sonstiges</translation>
    </message>
    <message>
        <source>Page Numbers</source>
        <translation>Seitenzahlen</translation>
    </message>
    <message>
        <source>Date On Pages</source>
        <translation>Datum auf den Seiten</translation>
    </message>
    <message>
        <source>Use Totals</source>
        <translation>Summen verwenden</translation>
    </message>
    <message>
        <source>Horizontal Lines</source>
        <translation>Waagrechte Linien</translation>
    </message>
    <message>
        <source>Vertical Lines</source>
        <translation>Senkrechte Linien</translation>
    </message>
    <message>
        <source>Print Landscape</source>
        <translation>Querformat</translation>
    </message>
    <message>
        <source>Group by Level 1 Sort</source>
        <translation>Nach erster Sortierung gruppieren</translation>
    </message>
    <message>
        <source>Group by Level 2 Sort</source>
        <translation>Nach zweiter Sortierung gruppieren</translation>
    </message>
    <message>
        <source>Report Content</source>
        <translation>Berichtsinhalt</translation>
    </message>
    <message>
        <source>Number of Lines</source>
        <translation>Anzahl der Zeilen</translation>
    </message>
    <message>
        <source>&amp;Specify Report Content</source>
        <translation>Berichts&amp;inhalt festlegen</translation>
    </message>
    <message>
        <source>Margins (in inches)</source>
        <translation>Ränder (in Zoll)</translation>
    </message>
    <message>
        <source>Top</source>
        <translation>Oben</translation>
    </message>
    <message>
        <source>Bottom</source>
        <translation>Unten</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Links</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Rechts</translation>
    </message>
    <message>
        <source>&amp;Update</source>
        <translation>&amp;Übernehmen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Notice</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>Number of lines must be in range of 0 to 12.  Please correct.</source>
        <translation>Die Anzahl der Zeilen muss zwischen 0 und 12 liegen.  Bitte korrigieren.</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Switching to 90 characters from 120 or 150 will truncate the current defined lines.  In addition, the font size will be reset to a 10 point as a default.  Are you sure you wish to do this?</source>
        <translation>Der Wechsel von 120 oder 150 auf 90 Zeichen kürzt die festgelegten Zeilen.  Außerdem wird die Schriftgröße auf 10 Punkt zurückgesetzt.  Wollen Sie das wirklich?</translation>
    </message>
    <message>
        <source>Switching to 120 characters from 150 will truncate the current defined lines.  In addition, the font size will be reset to a 8 point as a default.  Are you sure you wish to do this?</source>
        <translation>Der Wechsel von 150 auf 120 Zeichen kürzt die festgelegten Zeilen.  Außerdem wird die Schriftgröße auf 8 Punkt zurückgesetzt.  Wollen Sie das wirklich?</translation>
    </message>
    <message>
        <source>The Report Body font size has been set to a 8 Point default size as.</source>
        <translation>Die Schriftgröße des Berichtsrumpfs wurde auf 8 Punkt gesetzt.</translation>
    </message>
    <message>
        <source>The Report Body font size has been set to a 6 Point default size as a result of switching to 150 characters per line.</source>
        <translation>Die Schriftgröße des Berichtsrumpfs wurde wegen des Wechsels auf 150 Zeichen je Zeile auf 6 Punkt gesetzt.</translation>
    </message>
    <message>
        <source>A margin must be a number of inches from 0 to 20.  Please correct.</source>
        <translation>Ein Rand muss zwischen 0 und 20 Zoll liegen.  Bitte korrigieren.</translation>
    </message>
    <message>
        <source>Report Title has changed!  Do you wish to save this as a new report?   (YES saves as new report.  NO overwrites old report.  CANCEL aborts.)</source>
        <translation>Der Berichtstitel wurde geändert!  Wollen Sie ihn als neuen Bericht speichern?   (JA speichert einen neuen Bericht.  NEIN überschreibt den alten Bericht.  ABBRECHEN bricht ab.)</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Are you sure you want to delete this report?</source>
        <translation>Wollen Sie diesen Bericht wirklich löschen?</translation>
    </message>
</context>
<context>
    <name>settings</name>
    <message>
        <source>Cannot write the settings file &quot;%1&quot;: %2</source>
        <translation>Die Einstellungsdatei &quot;%1&quot; kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>The program folder &quot;%1&quot; cannot be created: a file of that name is in the way.</source>
        <translation>Der Programmordner &quot;%1&quot; kann nicht angelegt werden: eine Datei dieses Namens steht im Weg.</translation>
    </message>
    <message>
        <source>The program folder &quot;%1&quot; cannot be created.  Check that its parent folder exists and may be written, or set REELKEEPER_HOME to another folder.</source>
        <translation>Der Programmordner &quot;%1&quot; kann nicht angelegt werden.  Prüfen Sie, ob sein übergeordneter Ordner existiert und beschrieben werden darf, oder setzen Sie REELKEEPER_HOME auf einen anderen Ordner.</translation>
    </message>
</context>
<context>
    <name>stats</name>
    <message>
        <source>Category</source>
        <translation>Kategorie</translation>
    </message>
    <message>
        <source>Decade</source>
        <translation>Jahrzehnt</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Jahr</translation>
    </message>
    <message>
        <source>Rating</source>
        <translation>Altersfreigabe</translation>
    </message>
    <message>
        <source>Personal Rating</source>
        <translation>Eigene Bewertung</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>Picture</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Ton</translation>
    </message>
    <message>
        <source>Stars</source>
        <translation>Darsteller</translation>
    </message>
    <message>
        <source>Directors</source>
        <translation>Regisseure</translation>
    </message>
    <message>
        <source>Others</source>
        <translation>Andere</translation>
    </message>
    <message>
        <source>Viewed</source>
        <translation>Gesehen</translation>
    </message>
    <message>
        <source>Not viewed</source>
        <translation>Nicht gesehen</translation>
    </message>
</context>
<context>
    <name>stats_ui::TStatistics</name>
    <message>
        <source>Videos</source>
        <translation>Videos</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>Statistik</translation>
    </message>
    <message>
        <source>&amp;Whole Collection</source>
        <translation>&amp;Ganze Sammlung</translation>
    </message>
    <message>
        <source>Current &amp;Search</source>
        <translation>Aktuelle S&amp;uche</translation>
    </message>
    <message>
        <source>Statistics pages</source>
        <translation>Seiten der Statistik</translation>
    </message>
    <message>
        <source>Summary of the statistics</source>
        <translation>Zusammenfassung der Statistik</translation>
    </message>
    <message>
        <source>Summary</source>
        <translation>Übersicht</translation>
    </message>
    <message>
        <source>Sa&amp;ve Chart...</source>
        <translation>Diagramm s&amp;peichern...</translation>
    </message>
    <message>
        <source>C&amp;opy Chart</source>
        <translation>Diagramm &amp;kopieren</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Drucken</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>%1 video in the whole collection</source>
        <translation>%1 Video in der ganzen Sammlung</translation>
    </message>
    <message>
        <source>%1 videos in the whole collection</source>
        <translation>%1 Videos in der ganzen Sammlung</translation>
    </message>
    <message>
        <source>%1 video found by the search</source>
        <translation>%1 Video von der Suche gefunden</translation>
    </message>
    <message>
        <source>%1 videos found by the search</source>
        <translation>%1 Videos von der Suche gefunden</translation>
    </message>
    <message>
        <source>%1 video</source>
        <translation>%1 Video</translation>
    </message>
    <message>
        <source>%1 videos</source>
        <translation>%1 Videos</translation>
    </message>
    <message>
        <source>Viewed</source>
        <translation>Gesehen</translation>
    </message>
    <message>
        <source>Not viewed</source>
        <translation>Nicht gesehen</translation>
    </message>
    <message>
        <source>Lent out</source>
        <translation>Verliehen</translation>
    </message>
    <message>
        <source>List price, total</source>
        <translation>Listenpreis, gesamt</translation>
    </message>
    <message>
        <source>List price, average</source>
        <translation>Listenpreis, Durchschnitt</translation>
    </message>
    <message>
        <source>Purchase price, total</source>
        <translation>Kaufpreis, gesamt</translation>
    </message>
    <message>
        <source>Purchase price, average</source>
        <translation>Kaufpreis, Durchschnitt</translation>
    </message>
    <message>
        <source>Most frequent star</source>
        <translation>Häufigster Darsteller</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(keiner)</translation>
    </message>
    <message>
        <source>Most frequent director</source>
        <translation>Häufigster Regisseur</translation>
    </message>
    <message>
        <source>Share</source>
        <translation>Anteil</translation>
    </message>
    <message>
        <source>%1 counts</source>
        <translation>%1: Anzahlen</translation>
    </message>
    <message>
        <source>%1 chart</source>
        <translation>%1: Diagramm</translation>
    </message>
    <message>
        <source>%1: the %2 largest of %3</source>
        <translation>%1: die %2 größten von %3</translation>
    </message>
    <message>
        <source>Save Chart</source>
        <translation>Diagramm speichern</translation>
    </message>
    <message>
        <source>PNG Images (*.png)</source>
        <translation>PNG-Bilder (*.png)</translation>
    </message>
    <message>
        <source>No printers are defined.</source>
        <translation>Es sind keine Drucker eingerichtet.</translation>
    </message>
    <message>
        <source>The statistics could not be printed.</source>
        <translation>Die Statistik konnte nicht gedruckt werden.</translation>
    </message>
    <message>
        <source>Statistics: %1</source>
        <translation>Statistik: %1</translation>
    </message>
    <message>
        <source>The chart could not be saved as &quot;%1&quot;.</source>
        <translation>Das Diagramm konnte nicht als &quot;%1&quot; gespeichert werden.</translation>
    </message>
    <message>
        <source>Save the statistics as a PDF file instead?</source>
        <translation>Die Statistik stattdessen als PDF-Datei speichern?</translation>
    </message>
    <message>
        <source>Save Statistics As PDF</source>
        <translation>Statistik als PDF speichern</translation>
    </message>
    <message>
        <source>The statistics could not be saved as &quot;%1&quot;.</source>
        <translation>Die Statistik konnte nicht als &quot;%1&quot; gespeichert werden.</translation>
    </message>
    <message>
        <source>PDF Files (*.pdf *.PDF)</source>
        <translation>PDF-Dateien (*.pdf *.PDF)</translation>
    </message>
</context>
<context>
    <name>ui</name>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Font Co&amp;lor...</source>
        <translation>Schrift&amp;farbe...</translation>
    </message>
    <message>
        <source>The color the font is written in</source>
        <translation>Die Farbe, in der die Schrift geschrieben wird</translation>
    </message>
</context>
<context>
    <name>covers</name>
    <message>
        <source>The folder of covers &quot;%1&quot; could not be made.</source>
        <translation>Der Ordner der Cover „%1“ konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <source>The cover &quot;%1&quot; could not be written: %2</source>
        <translation>Das Cover „%1“ konnte nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>A video without a title has no cover.</source>
        <translation>Ein Video ohne Titel hat kein Cover.</translation>
    </message>
    <message>
        <source>The picture &quot;%1&quot; could not be opened.</source>
        <translation>Das Bild „%1“ konnte nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>The picture &quot;%1&quot; is larger than %2 MB.</source>
        <translation>Das Bild „%1“ ist größer als %2 MB.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a picture this program can read (JPEG, PNG, WebP, GIF, BMP).</source>
        <translation>„%1“ ist kein Bild, das dieses Programm lesen kann (JPEG, PNG, WebP, GIF, BMP).</translation>
    </message>
    <message>
        <source>The picture &quot;%1&quot; is too large to read (%2 x %3 pixels).</source>
        <translation>Das Bild „%1“ ist zu groß zum Lesen (%2 x %3 Pixel).</translation>
    </message>
    <message>
        <source>The picture &quot;%1&quot; is damaged: %2</source>
        <translation>Das Bild „%1“ ist beschädigt: %2</translation>
    </message>
    <message>
        <source>The cover &quot;%1&quot; could not be removed.</source>
        <translation>Das Cover „%1“ konnte nicht entfernt werden.</translation>
    </message>
</context>
<context>
    <name>covers_ui::CoverPanel</name>
    <message>
        <source>Cover</source>
        <translation>Cover</translation>
    </message>
    <message>
        <source>Choose Co&amp;ver...</source>
        <translation>Co&amp;ver wählen...</translation>
    </message>
    <message>
        <source>Remove Cover</source>
        <translation>Cover entfernen</translation>
    </message>
    <message>
        <source>No cover</source>
        <translation>Kein Cover</translation>
    </message>
    <message>
        <source>No cover: choose one, or drop or paste a picture here</source>
        <translation>Kein Cover: wählen Sie eines, oder legen Sie ein Bild hier ab oder fügen Sie es ein</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Choose a Cover</source>
        <translation>Ein Cover wählen</translation>
    </message>
    <message>
        <source>Pictures (*.jpg *.jpeg *.png *.webp *.gif *.bmp)</source>
        <translation>Bilder (*.jpg *.jpeg *.png *.webp *.gif *.bmp)</translation>
    </message>
    <message>
        <source>this video</source>
        <translation>dieses Video</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
    <message>
        <source>Remove the cover of “%1”?</source>
        <translation>Das Cover von „%1“ entfernen?</translation>
    </message>
</context>
<context>
    <name>covers_ui::TCoversWithoutAFilm</name>
    <message>
        <source>Covers without a Film</source>
        <translation>Cover ohne Film</translation>
    </message>
    <message>
        <source>These pictures are in the folder of covers, but no video has their name. Give one to the video you are on, or delete it.</source>
        <translation>Diese Bilder liegen im Ordner der Cover, aber kein Video trägt ihren Namen. Geben Sie eines dem Video, auf dem Sie stehen, oder löschen Sie es.</translation>
    </message>
    <message>
        <source>Covers without a film</source>
        <translation>Cover ohne Film</translation>
    </message>
    <message>
        <source>&amp;Give to the Current Video</source>
        <translation>Dem aktuellen Video &amp;geben</translation>
    </message>
    <message>
        <source>&amp;Delete...</source>
        <translation>&amp;Löschen...</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Go to a video with a title first.</source>
        <translation>Gehen Sie zuerst zu einem Video mit Titel.</translation>
    </message>
    <message>
        <source>“%1” has a cover already: remove it in the record editor first.</source>
        <translation>„%1“ hat schon ein Cover: entfernen Sie es zuerst im Datensatzfenster.</translation>
    </message>
    <message>
        <source>The cover &quot;%1&quot; could not be renamed.</source>
        <translation>Das Cover „%1“ konnte nicht umbenannt werden.</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>Bestätigen</translation>
    </message>
    <message>
        <source>Delete the picture &quot;%1&quot;?</source>
        <translation>Das Bild „%1“ löschen?</translation>
    </message>
</context>
<context>
    <name>covers_ui::CoverView</name>
    <message>
        <source>Cover of the current video</source>
        <translation>Cover des aktuellen Videos</translation>
    </message>
    <message>
        <source>No cover</source>
        <translation>Kein Cover</translation>
    </message>
    <message>
        <source>The cover could not be read.</source>
        <translation>Das Cover konnte nicht gelesen werden.</translation>
    </message>
</context>
<context>
    <name>covers_ui::TCoverSize</name>
    <message>
        <source>Cover Size</source>
        <translation>Covergröße</translation>
    </message>
    <message>
        <source>A picture taken as a cover that is larger than this is scaled down and kept as JPEG; a smaller one is kept as it comes.</source>
        <translation>Ein Bild, das als Cover genommen wird und größer als dies ist, wird verkleinert und als JPEG behalten; ein kleineres wird behalten, wie es kommt.</translation>
    </message>
    <message>
        <source> pixels</source>
        <translation> Pixel</translation>
    </message>
    <message>
        <source>&amp;Longest side:</source>
        <translation>&amp;Längste Seite:</translation>
    </message>
    <message>
        <source>&amp;JPEG quality:</source>
        <translation>&amp;JPEG-Qualität:</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>lookup</name>
    <message>
        <source>The file &quot;%1&quot; cannot be opened.</source>
        <translation>Die Datei „%1“ kann nicht geöffnet werden.</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; holds no line naming its columns.</source>
        <translation>Die Datei „%1“ enthält keine Zeile, die ihre Spalten nennt.</translation>
    </message>
    <message>
        <source>The folder holds no %1: the index cannot be built without it.</source>
        <translation>Der Ordner enthält kein %1: ohne diese Datei kann der Index nicht gebaut werden.</translation>
    </message>
    <message>
        <source>%1 has no column %2: it is no IMDb dataset file of that name.</source>
        <translation>%1 hat keine Spalte %2: Es ist keine IMDb-Datensatzdatei dieses Namens.</translation>
    </message>
    <message>
        <source>There is no IMDb index yet: build it from the dataset files first.</source>
        <translation>Es gibt noch keinen IMDb-Index: Bauen Sie ihn zuerst aus den Datensatzdateien.</translation>
    </message>
    <message>
        <source>The file is no IMDb index of this program: build it again from the dataset files.</source>
        <translation>Die Datei ist kein IMDb-Index dieses Programms: Bauen Sie ihn neu aus den Datensatzdateien.</translation>
    </message>
    <message>
        <source>TMDb did not accept the API key or read token (HTTP %1): %2 Give yours in Options, TMDb Online Lookup.</source>
        <translation>TMDb hat den API-Schlüssel oder das Lesetoken nicht angenommen (HTTP %1): %2 Geben Sie Ihren unter Optionen, TMDb-Onlinesuche an.</translation>
    </message>
    <message>
        <source>TMDb does not have it (HTTP %1): %2</source>
        <translation>TMDb kennt das nicht (HTTP %1): %2</translation>
    </message>
    <message>
        <source>TMDb could not answer (HTTP %1). Try again later.</source>
        <translation>TMDb konnte nicht antworten (HTTP %1). Versuchen Sie es später noch einmal.</translation>
    </message>
    <message>
        <source>TMDb refused the request (HTTP %1): %2</source>
        <translation>TMDb hat die Anfrage abgelehnt (HTTP %1): %2</translation>
    </message>
    <message>
        <source>TMDb&apos;s answer was not the JSON its documentation describes.</source>
        <translation>Die Antwort von TMDb war nicht das JSON, das die Dokumentation beschreibt.</translation>
    </message>
    <message>
        <source>No TMDb API key or read token is set: give yours in Options, TMDb Online Lookup.</source>
        <translation>Es ist kein TMDb-API-Schlüssel und kein Lesetoken eingetragen: Geben Sie Ihren unter Optionen, TMDb-Onlinesuche an.</translation>
    </message>
    <message>
        <source>TMDb did not answer within %1 seconds. Options, TMDb Online Lookup can give it longer.</source>
        <translation>TMDb hat nicht innerhalb von %1 Sekunden geantwortet. Unter Optionen, TMDb-Onlinesuche können Sie länger warten lassen.</translation>
    </message>
    <message>
        <source>TMDb&apos;s answer was larger than any it gives: it was left unread.</source>
        <translation>Die Antwort von TMDb war größer als jede, die TMDb gibt: Sie wurde nicht gelesen.</translation>
    </message>
    <message>
        <source>TMDb asks for fewer requests (HTTP 429) and to wait %1 seconds. Try again later.</source>
        <translation>TMDb bittet um weniger Anfragen (HTTP 429) und darum, %1 Sekunden zu warten. Versuchen Sie es später noch einmal.</translation>
    </message>
    <message>
        <source>TMDb could not be reached: %1</source>
        <translation>TMDb war nicht erreichbar: %1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no IMDb id (tt and a number).</source>
        <translation>„%1“ ist keine IMDb-Kennung (tt und eine Zahl).</translation>
    </message>
    <message>
        <source>TMDb gave no poster of a known kind (&quot;%1&quot;).</source>
        <translation>TMDb hat kein Poster einer bekannten Art geliefert („%1“).</translation>
    </message>
</context>
<context>
    <name>lookup_ui::TFillIn</name>
    <message>
        <source>Fill In</source>
        <translation>Ausfüllen</translation>
    </message>
    <message>
        <source>&amp;Title:</source>
        <translation>&amp;Titel:</translation>
    </message>
    <message>
        <source>&amp;Year:</source>
        <translation>&amp;Jahr:</translation>
    </message>
    <message>
        <source>&amp;Search</source>
        <translation>&amp;Suchen</translation>
    </message>
    <message>
        <source>Films found</source>
        <translation>Gefundene Filme</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Original Title</source>
        <translation>Originaltitel</translation>
    </message>
    <message>
        <source>Year</source>
        <translation>Jahr</translation>
    </message>
    <message>
        <source>Director</source>
        <translation>Regie</translation>
    </message>
    <message>
        <source>Play Time</source>
        <translation>Laufzeit</translation>
    </message>
    <message>
        <source>What would change</source>
        <translation>Was sich ändern würde</translation>
    </message>
    <message>
        <source>Field</source>
        <translation>Feld</translation>
    </message>
    <message>
        <source>Now</source>
        <translation>Jetzt</translation>
    </message>
    <message>
        <source>From IMDb</source>
        <translation>Von IMDb</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>(%1 more did not fit)</source>
        <translation>(%1 weitere passten nicht)</translation>
    </message>
    <message>
        <source>(cut to fit)</source>
        <translation>(passend gekürzt)</translation>
    </message>
    <message>
        <source>No film of the index has these words in its titles.</source>
        <translation>Kein Film des Index hat diese Wörter in seinen Titeln.</translation>
    </message>
    <message>
        <source>F&amp;rom:</source>
        <translation>&amp;Quelle:</translation>
    </message>
    <message>
        <source>From</source>
        <translation>Quelle</translation>
    </message>
    <message>
        <source>IMDb&apos;s datasets</source>
        <translation>Datensätze von IMDb</translation>
    </message>
    <message>
        <source>TMDb (online)</source>
        <translation>TMDb (online)</translation>
    </message>
    <message>
        <source>From TMDb</source>
        <translation>Von TMDb</translation>
    </message>
    <message>
        <source>Type a title to look for.</source>
        <translation>Geben Sie einen Titel ein, nach dem gesucht werden soll.</translation>
    </message>
    <message>
        <source>Asking TMDb...</source>
        <translation>TMDb wird gefragt...</translation>
    </message>
    <message>
        <source>TMDb has no film of this title.</source>
        <translation>TMDb hat keinen Film mit diesem Titel.</translation>
    </message>
    <message>
        <source>Cover</source>
        <translation>Cover</translation>
    </message>
    <message>
        <source>(a picture)</source>
        <translation>(ein Bild)</translation>
    </message>
    <message>
        <source>(the poster could not be read)</source>
        <translation>(das Poster konnte nicht gelesen werden)</translation>
    </message>
    <message>
        <source>the poster, %1 x %2 pixels</source>
        <translation>das Poster, %1 × %2 Pixel</translation>
    </message>
</context>
<context>
    <name>lookup_ui</name>
    <message>
        <source>Building the IMDb lookup index...</source>
        <translation>Der IMDb-Suchindex wird gebaut...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>IMDb Lookup Index</source>
        <translation>IMDb-Suchindex</translation>
    </message>
    <message>
        <source>Reading %1...</source>
        <translation>%1 wird gelesen...</translation>
    </message>
    <message>
        <source>The index could not be built: %1</source>
        <translation>Der Index konnte nicht gebaut werden: %1</translation>
    </message>
    <message>
        <source>Cancelled. The index is as it was.</source>
        <translation>Abgebrochen. Der Index ist, wie er war.</translation>
    </message>
    <message>
        <source>The index holds %1 films, found by %2 titles, and %3 people.</source>
        <translation>Der Index enthält %1 Filme, zu finden unter %2 Titeln, und %3 Personen.</translation>
    </message>
    <message>
        <source>Lines of the files that were not whole, left out: %1.</source>
        <translation>Zeilen der Dateien, die nicht ganz waren, ausgelassen: %1.</translation>
    </message>
    <message>
        <source>Fill In Missing</source>
        <translation>Fehlendes ausfüllen</translation>
    </message>
    <message>
        <source>Looking up the videos without a director or a year...</source>
        <translation>Die Videos ohne Regie oder ohne Jahr werden nachgeschlagen...</translation>
    </message>
    <message>
        <source>Videos looked up: %1...</source>
        <translation>Nachgeschlagene Videos: %1...</translation>
    </message>
    <message>
        <source>Stopped. </source>
        <translation>Angehalten. </translation>
    </message>
    <message>
        <source>Videos looked up: %1; filled: %2, with values written: %3.</source>
        <translation>Nachgeschlagene Videos: %1; ausgefüllt: %2, mit geschriebenen Werten: %3.</translation>
    </message>
    <message>
        <source>Values cut, or with names left out, to fit their fields: %1.</source>
        <translation>Werte, die gekürzt wurden oder Namen auslassen, um in ihre Felder zu passen: %1.</translation>
    </message>
    <message>
        <source>Not in the index: %1.</source>
        <translation>Nicht im Index: %1.</translation>
    </message>
    <message>
        <source>More than one film could be meant (pick in the editor with Edit, Fill In): %1.</source>
        <translation>Mehr als ein Film könnte gemeint sein (wählen Sie im Editor mit Bearbeiten, Ausfüllen): %1.</translation>
    </message>
    <message>
        <source>and %1 more.</source>
        <translation>und %1 weitere.</translation>
    </message>
    <message>
        <source>The filling stopped: %1</source>
        <translation>Das Ausfüllen hielt an: %1</translation>
    </message>
    <message>
        <source>Looking up the videos without a director, a year or a cover at TMDb...</source>
        <translation>Die Videos ohne Regisseur, Jahr oder Cover werden bei TMDb nachgeschlagen...</translation>
    </message>
    <message>
        <source>Covers taken from TMDb&apos;s posters: %1.</source>
        <translation>Cover aus den Postern von TMDb übernommen: %1.</translation>
    </message>
    <message>
        <source>Not found at TMDb: %1.</source>
        <translation>Bei TMDb nicht gefunden: %1.</translation>
    </message>
    <message>
        <source>Posters not taken: %1.</source>
        <translation>Nicht übernommene Poster: %1.</translation>
    </message>
    <message>
        <source>Give your TMDb API key or read token in Options, TMDb Online Lookup first.</source>
        <translation>Geben Sie zuerst Ihren TMDb-API-Schlüssel oder Ihr Lesetoken unter Optionen, TMDb-Onlinesuche an.</translation>
    </message>
</context>
<context>
    <name>lookup_ui::TTmdbOptions</name>
    <message>
        <source>TMDb Online Lookup</source>
        <translation>TMDb-Onlinesuche</translation>
    </message>
    <message>
        <source>Fill In can take films from TMDb online with your own API key or read access token, free for personal use at https://www.themoviedb.org/settings/api.</source>
        <translation>Ausfüllen kann Filme online von TMDb übernehmen, mit Ihrem eigenen API-Schlüssel oder Lesetoken, für den persönlichen Gebrauch kostenlos unter https://www.themoviedb.org/settings/api.</translation>
    </message>
    <message>
        <source>API key or read access token</source>
        <translation>API-Schlüssel oder Lesetoken</translation>
    </message>
    <message>
        <source>API &amp;key or read access token:</source>
        <translation>API-&amp;Schlüssel oder Lesetoken:</translation>
    </message>
    <message>
        <source> seconds</source>
        <translation> Sekunden</translation>
    </message>
    <message>
        <source>Longest wait for an answer</source>
        <translation>Längste Wartezeit auf eine Antwort</translation>
    </message>
    <message>
        <source>&amp;Longest wait for an answer:</source>
        <translation>&amp;Längste Wartezeit auf eine Antwort:</translation>
    </message>
    <message>
        <source>Country of the Rating</source>
        <translation>Land der Altersfreigabe</translation>
    </message>
    <message>
        <source>Two letters (US, DE, GB...): the age rating of the film&apos;s release there becomes its Rating.</source>
        <translation>Zwei Buchstaben (US, DE, GB...): Die Altersfreigabe des Films in diesem Land wird seine Freigabe.</translation>
    </message>
    <message>
        <source>&amp;Country of the Rating:</source>
        <translation>Land der Alters&amp;freigabe:</translation>
    </message>
    <message>
        <source>&amp;Try It</source>
        <translation>&amp;Ausprobieren</translation>
    </message>
    <message>
        <source>Asking TMDb...</source>
        <translation>TMDb wird gefragt...</translation>
    </message>
    <message>
        <source>TMDb answered: the key works.</source>
        <translation>TMDb hat geantwortet: Der Schlüssel funktioniert.</translation>
    </message>
</context>
</TS>
