<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ro_RO">
<context>
    <name>About</name>
    <message>
        <source>Most people run frequencies three minutes each. For a 20 frequency set, this would be an hour long session. Higher powered devices (100W+) may require less time on each frequency. When a frequency is found to be particularly beneficial it may be run for a longer time after assessing detox reaction to ensure it is not too strong.</source>
        <translation>Cei mai mulți oameni rulează fiecare frecvență câte trei minute. Pentru un set de 20 de frecvențe, aceasta înseamnă o ședință de o oră. Aparatele mai puternice (100 W sau mai mult) pot cere mai puțin timp pentru fiecare frecvență. Când o frecvență se dovedește deosebit de benefică, poate fi rulată mai mult timp, după ce reacția de detoxifiere a fost evaluată, ca să vă asigurați că nu este prea puternică.</translation>
    </message>
    <message>
        <source>Note that many times (if not most of the time) frequencies which are beneficial may not cause any sensation. And, many times frequencies which are &apos;hits&apos;%1 may cause no apparent benefit. In general, though, frequencies which produce consistent hits over multiple sessions are usually therapeutic, and should be included in sessions until they no longer do</source>
        <translation>Rețineți că deseori (dacă nu chiar de cele mai multe ori) frecvențele benefice nu produc nicio senzație. Și, deseori, frecvențele care „lovesc”%1 pot să nu aducă niciun beneficiu vizibil. În general însă, frecvențele care lovesc constant de-a lungul mai multor ședințe sunt de obicei terapeutice și ar trebui păstrate în ședințe până când nu mai lovesc</translation>
    </message>
    <message>
        <source>Frequencies marked with an asterisk (*) in the comments section are thought to be particularly effective. </source>
        <translation>Frecvențele marcate cu un asterisc (*) în secțiunea de comentarii sunt considerate deosebit de eficiente. </translation>
    </message>
    <message>
        <source>You are able to modify the length of your treatment, to pause or stop it. </source>
        <translation>Puteți modifica durata tratamentului, îl puteți întrerupe sau opri. </translation>
    </message>
    <message>
        <source>This program let you to hold on a frequency since some people, when feeling a frequency, desire to run it longer. Also, you can skip the current frequency, since some people don&apos;t like certain frequencies. Programs display the frequency being run so people know what frequencies they like best. </source>
        <translation>Acest program vă permite să rămâneți pe o frecvență, deoarece unii oameni, când simt o frecvență, doresc să o ruleze mai mult. De asemenea, puteți sări peste frecvența curentă, deoarece unora nu le plac anumite frecvențe. Programul afișează frecvența care rulează, ca fiecare să știe ce frecvențe îi plac cel mai mult. </translation>
    </message>
</context>
<context>
    <name>AudioExport</name>
    <message>
        <source>The treatment has nothing to play.</source>
        <translation>Tratamentul nu are nimic de redat.</translation>
    </message>
    <message>
        <source>%1 | %2 Hz | %3 of %4 | %5 elapsed | %6 left</source>
        <translation>%1 | %2 Hz | %3 din %4 | %5 scurs | %6 rămas</translation>
    </message>
    <message>
        <source>Could not export to &quot;%1&quot;: %2</source>
        <translation>Nu s-a putut exporta în „%1”: %2</translation>
    </message>
    <message>
        <source>The file name &quot;%1&quot; is too long: at most %2 bytes are allowed.</source>
        <translation>Numele de fișier „%1” este prea lung: sunt permiși cel mult %2 octeți.</translation>
    </message>
    <message>
        <source>The path &quot;%1&quot; is too long.</source>
        <translation>Calea „%1” este prea lungă.</translation>
    </message>
    <message>
        <source>Could not export to &quot;%1&quot;: it is not a regular file.</source>
        <translation>Nu s-a putut exporta în „%1”: nu este un fișier obișnuit.</translation>
    </message>
    <message>
        <source>Could not create &quot;%1&quot;: %2.</source>
        <translation>Nu s-a putut crea „%1”: %2.</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>discul este plin</translation>
    </message>
    <message>
        <source>Could not write &quot;%1&quot;: %2.</source>
        <translation>Nu s-a putut scrie „%1”: %2.</translation>
    </message>
    <message>
        <source>the file did not get the length its header gives</source>
        <translation>fișierul nu a primit lungimea indicată în antetul său</translation>
    </message>
    <message>
        <source>the sound-file library (libsndfile.so.1) could not be loaded</source>
        <translation>biblioteca pentru fișiere de sunet (libsndfile.so.1) nu a putut fi încărcată</translation>
    </message>
    <message>
        <source>The session has nothing to play.</source>
        <translation>Sesiunea nu are nimic de redat.</translation>
    </message>
</context>
<context>
    <name>Background</name>
    <message>
        <source>Helicordia cannot start: the background picture &quot;%1&quot; is too large to load (%2 × %3 pixels; at most %4 MB of picture data is accepted).</source>
        <translation>Helicordia nu poate porni: imaginea de fundal „%1” este prea mare pentru a fi încărcată (%2 × %3 pixeli; se acceptă cel mult %4 MB de date de imagine).</translation>
    </message>
    <message>
        <source>Helicordia cannot start: the background picture &quot;%1&quot; is missing or is not a readable JPEG picture.</source>
        <translation>Helicordia nu poate porni: imaginea de fundal „%1” lipsește sau nu este o imagine JPEG care poate fi citită.</translation>
    </message>
</context>
<context>
    <name>Catalogue</name>
    <message>
        <source>The catalogue file %1 is not a regular file.</source>
        <translation>Fișierul catalogului %1 nu este un fișier obișnuit.</translation>
    </message>
    <message>
        <source>The catalogue file %1 is too large: %2 bytes, at most %3 are accepted.</source>
        <translation>Fișierul catalogului %1 este prea mare: %2 octeți, se acceptă cel mult %3.</translation>
    </message>
    <message>
        <source>The catalogue file %1 cannot be opened: %2.</source>
        <translation>Fișierul catalogului %1 nu poate fi deschis: %2.</translation>
    </message>
    <message>
        <source>The catalogue file %1 cannot be read: %2.</source>
        <translation>Fișierul catalogului %1 nu poate fi citit: %2.</translation>
    </message>
    <message>
        <source>it grew too large</source>
        <translation>a devenit prea mare</translation>
    </message>
    <message>
        <source>The catalogue file %1 is empty (0 lines); %2 lines are needed.</source>
        <translation>Fișierul catalogului %1 este gol (0 rânduri); sunt necesare %2 rânduri.</translation>
    </message>
    <message>
        <source>The catalogue file %1 has only 1 line; %2 lines are needed.</source>
        <translation>Fișierul catalogului %1 are un singur rând; sunt necesare %2 rânduri.</translation>
    </message>
    <message>
        <source>The catalogue file %1 has only %2 lines; %3 lines are needed.</source>
        <translation>Fișierul catalogului %1 are doar %2 rânduri; sunt necesare %3 rânduri.</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>The length &quot;%1&quot; is not a duration like 00:30:00.</source>
        <translation>Durata „%1” nu este o durată de forma 00:30:00.</translation>
    </message>
    <message>
        <source>The length must be more than zero.</source>
        <translation>Durata trebuie să fie mai mare decât zero.</translation>
    </message>
    <message>
        <source>The length must not be more than 100 hours.</source>
        <translation>Durata nu poate depăși 100 de ore.</translation>
    </message>
    <message>
        <source>The volume &quot;%1&quot; is not a percentage from 0 to 100.</source>
        <translation>Volumul „%1” nu este un procent între 0 și 100.</translation>
    </message>
    <message>
        <source>The pan &quot;%1&quot; is not a percentage from -100 (left) to 100 (right).</source>
        <translation>Balansul „%1” nu este un procent între -100 (stânga) și 100 (dreapta).</translation>
    </message>
    <message>
        <source>The rate &quot;%1&quot; is not one of 44100, 48000 and 96000.</source>
        <translation>Rata „%1” nu este una dintre 44100, 48000 și 96000.</translation>
    </message>
    <message>
        <source>The WAV sample size &quot;%1&quot; is not 16 or 32.</source>
        <translation>Mărimea eșantionului WAV „%1” nu este 16 sau 32.</translation>
    </message>
    <message>
        <source>Displays help on commandline options.</source>
        <translation>Afișează ajutorul pentru opțiunile liniei de comandă.</translation>
    </message>
    <message>
        <source>Displays version information.</source>
        <translation>Afișează informații despre versiune.</translation>
    </message>
    <message>
        <source>text</source>
        <translation>text</translation>
    </message>
    <message>
        <source>Prints the catalogue list for the search text (every entry without one), your own treatments after it, then the match count.</source>
        <translation>Afișează lista catalogului pentru textul căutat (fără text, toate intrările), apoi tratamentele proprii și, la sfârșit, numărul de potriviri.</translation>
    </message>
    <message>
        <source>entry</source>
        <translation>intrare</translation>
    </message>
    <message>
        <source>Plays an entry (its number, +N for your own treatment N, or a search text that names one playable entry) through the sound card. Ctrl+C ends it.</source>
        <translation>Redă o intrare (numărul ei, +N pentru tratamentul propriu N sau un text de căutare care numește o singură intrare redabilă) prin placa de sunet. Ctrl+C o oprește.</translation>
    </message>
    <message>
        <source>entry file</source>
        <translation>intrare fișier</translation>
    </message>
    <message>
        <source>Writes an entry&apos;s treatment to a .wav, .flac or .ogg file.</source>
        <translation>Scrie tratamentul unei intrări într-un fișier .wav, .flac sau .ogg.</translation>
    </message>
    <message>
        <source>line</source>
        <translation>rând</translation>
    </message>
    <message>
        <source>Adds one of your own treatments, given as &quot;name - f1,f2,...&quot; and checked as the editor checks it.</source>
        <translation>Adaugă un tratament propriu, dat ca „nume - f1,f2,...” și verificat la fel ca în editor.</translation>
    </message>
    <message>
        <source>file</source>
        <translation>fișier</translation>
    </message>
    <message>
        <source>Adds the treatments in a text file (lines &quot;name - f1,f2,...&quot;, or with &quot;;&quot; or a tab for &quot; - &quot;) to your own, and says which lines were not taken and why.</source>
        <translation>Adaugă la tratamentele proprii tratamentele dintr-un fișier text (rânduri „nume - f1,f2,...”, sau cu „;” ori un tab în loc de „ - ”) și spune ce rânduri nu au fost preluate și de ce.</translation>
    </message>
    <message>
        <source>the treatment&apos;s length (the entry&apos;s suggested length without it).</source>
        <translation>durata tratamentului (fără ea, durata sugerată a intrării).</translation>
    </message>
    <message>
        <source>percent</source>
        <translation>procent</translation>
    </message>
    <message>
        <source>the volume, 0 to 100 (about 10 without it).</source>
        <translation>volumul, de la 0 la 100 (fără el, aproximativ 10).</translation>
    </message>
    <message>
        <source>the pan, -100 (left) to 100 (right); 0 without it.</source>
        <translation>balansul, de la -100 (stânga) la 100 (dreapta); fără el, 0.</translation>
    </message>
    <message>
        <source>44100, 48000 (without it) or 96000.</source>
        <translation>44100, 48000 (fără ea) sau 96000.</translation>
    </message>
    <message>
        <source>16-bit PCM or 32-bit float (without it) in a .wav file.</source>
        <translation>PCM pe 16 biți sau virgulă mobilă pe 32 de biți (fără ea) într-un fișier .wav.</translation>
    </message>
    <message>
        <source>%1 takes no value.</source>
        <translation>%1 nu primește nicio valoare.</translation>
    </message>
    <message>
        <source>%1 needs &lt;%2&gt;.</source>
        <translation>%1 are nevoie de &lt;%2&gt;.</translation>
    </message>
    <message>
        <source>%1 can be used only with %2.</source>
        <translation>%1 poate fi folosită doar cu %2.</translation>
    </message>
    <message>
        <source>%1 cannot be used with %2.</source>
        <translation>%1 nu poate fi folosită cu %2.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; does not end in .wav, .flac or .ogg.</source>
        <translation>„%1” nu se termină în .wav, .flac sau .ogg.</translation>
    </message>
    <message>
        <source>--bits applies only to WAV files.</source>
        <translation>--bits se aplică doar fișierelor WAV.</translation>
    </message>
    <message>
        <source>Unknown option &quot;%1&quot;.</source>
        <translation>Opțiune necunoscută „%1”.</translation>
    </message>
    <message>
        <source>Unexpected argument &quot;%1&quot;.</source>
        <translation>Argument neașteptat „%1”.</translation>
    </message>
    <message>
        <source>Give only one of %1.</source>
        <translation>Dați doar una dintre %1.</translation>
    </message>
    <message>
        <source>Usage: %1 [options]
Plays sets of reference frequencies as pure sine tones.
Started without options, it opens its main window.

Options:
</source>
        <translation>Utilizare: %1 [opțiuni]
Redă seturi de frecvențe de referință ca tonuri sinusoidale pure.
Pornit fără opțiuni, își deschide fereastra principală.

Opțiuni:
</translation>
    </message>
    <message>
        <source>Prints the treatments played, newest first, as the history window lists them: all of them, or those of the last &lt;days&gt; days.</source>
        <translation>Afișează tratamentele redate, cele mai noi primele, așa cum le arată fereastra istoricului: pe toate sau pe cele din ultimele &lt;zile&gt; zile.</translation>
    </message>
    <message>
        <source>Offers to resume the treatment that was cut short when the program last ended, and plays it on from where it stopped. Ctrl+C ends it.</source>
        <translation>Propune reluarea tratamentului întrerupt la ultima închidere a programului și îl redă mai departe de unde s-a oprit. Ctrl+C îl oprește.</translation>
    </message>
    <message>
        <source>Plays a session file (.hsession): its treatments one after another, as often as it repeats them. Ctrl+C ends it.</source>
        <translation>Redă un fișier de sesiune (.hsession): tratamentele ei unul după altul, de atâtea ori de câte le repetă. Ctrl+C o oprește.</translation>
    </message>
    <message>
        <source>file output</source>
        <translation>fișier ieșire</translation>
    </message>
    <message>
        <source>Writes a session to one .wav, .flac or .ogg file, as it plays.</source>
        <translation>Scrie o sesiune într-un singur fișier .wav, .flac sau .ogg, așa cum se redă.</translation>
    </message>
    <message>
        <source>Prints the sound server&apos;s outputs: the name that --output takes, then the description.</source>
        <translation>Afișează ieșirile serverului de sunet: numele pe care îl primește --output, apoi descrierea.</translation>
    </message>
    <message>
        <source>name</source>
        <translation>nume</translation>
    </message>
    <message>
        <source>the sound server&apos;s output to play on (see --list-outputs; the one chosen in the player without it).</source>
        <translation>ieșirea serverului de sunet pe care se redă (vezi --list-outputs; fără ea, cea aleasă în player).</translation>
    </message>
</context>
<context>
    <name>DesktopPlatform</name>
    <message>
        <source>The settings file &quot;%1&quot; is not a regular file.</source>
        <translation>Fișierul de setări „%1” nu este un fișier obișnuit.</translation>
    </message>
</context>
<context>
    <name>EntryText</name>
    <message>
        <source>Selectat item is not playable. Please carefully read the description!</source>
        <translation>Intrarea selectată nu poate fi redată. Vă rugăm să citiți cu atenție descrierea!</translation>
    </message>
</context>
<context>
    <name>History</name>
    <message>
        <source>completed</source>
        <translation>încheiat</translation>
    </message>
    <message>
        <source>stopped</source>
        <translation>oprit</translation>
    </message>
    <message>
        <source>program ended</source>
        <translation>program închis</translation>
    </message>
    <message>
        <source>interrupted</source>
        <translation>întrerupt</translation>
    </message>
    <message>
        <source>Line %1 of &quot;%2&quot; is not a record and was skipped.</source>
        <translation>Rândul %1 din „%2” nu este o înregistrare și a fost sărit.</translation>
    </message>
    <message numerus="yes">
        <source>%n more lines that are not records were skipped.</source>
        <translation>
            <numerusform>Încă %n rând care nu este o înregistrare a fost sărit.</numerusform>
            <numerusform>Încă %n rânduri care nu sunt înregistrări au fost sărite.</numerusform>
            <numerusform>Încă %n de rânduri care nu sunt înregistrări au fost sărite.</numerusform>
        </translation>
    </message>
    <message>
        <source>Line %1 of &quot;%2&quot; is longer than 1 MB and was skipped.</source>
        <translation>Rândul %1 din „%2” depășește 1 MB și a fost sărit.</translation>
    </message>
    <message>
        <source>%1, resumed</source>
        <translation>%1, reluat</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 din %2</translation>
    </message>
    <message>
        <source>%1, paused %2</source>
        <translation>%1, pauză %2</translation>
    </message>
    <message>
        <source>%1, held %2</source>
        <translation>%1, menținut %2</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>Treatment</source>
        <translation>Tratament</translation>
    </message>
    <message>
        <source>Heard of planned</source>
        <translation>Ascultat din planificat</translation>
    </message>
    <message>
        <source>Ending</source>
        <translation>Final</translation>
    </message>
    <message>
        <source>yyyy-MM-dd HH:mm</source>
        <extracomment>How a history row writes when the treatment started (a QDateTime format).</extracomment>
        <translation>dd.MM.yyyy HH:mm</translation>
    </message>
</context>
<context>
    <name>ImportPlan</name>
    <message>
        <source>it has no &quot; - &quot;, &quot;;&quot; or tab between a name and frequencies</source>
        <translation>nu are „ - ”, „;” sau tab între nume și frecvențe</translation>
    </message>
    <message>
        <source>it is already among your own treatments</source>
        <translation>se află deja printre tratamentele proprii</translation>
    </message>
    <message>
        <source>1 line can be added to your own treatments</source>
        <translation>1 rând poate fi adăugat la tratamentele proprii</translation>
    </message>
    <message numerus="yes">
        <source>%n lines can be added to your own treatments</source>
        <translation>
            <numerusform>%n rând poate fi adăugat la tratamentele proprii</numerusform>
            <numerusform>%n rânduri pot fi adăugate la tratamentele proprii</numerusform>
            <numerusform>%n de rânduri pot fi adăugate la tratamentele proprii</numerusform>
        </translation>
    </message>
    <message>
        <source>.</source>
        <translation>.</translation>
    </message>
    <message>
        <source>; %1 cannot:</source>
        <translation>; %1 nu pot:</translation>
    </message>
    <message>
        <source>line %1, «%2»: %3</source>
        <translation>rândul %1, «%2»: %3</translation>
    </message>
    <message>
        <source>… and %1 more.</source>
        <translation>… și încă %1.</translation>
    </message>
    <message>
        <source>Only the first %1 lines of the file were read.</source>
        <translation>Au fost citite doar primele %1 rânduri ale fișierului.</translation>
    </message>
</context>
<context>
    <name>ListenTone</name>
    <message>
        <source>The tone cannot be played.

%1</source>
        <translation>Tonul nu poate fi redat.

%1</translation>
    </message>
</context>
<context>
    <name>OwnTreatments</name>
    <message>
        <source>Your own treatments could not be read, so they are not listed, and nothing will be saved to their file until it can be read.

%1</source>
        <translation>Tratamentele proprii nu au putut fi citite, așa că nu sunt afișate în listă și nimic nu va fi salvat în fișierul lor până când acesta nu poate fi citit.

%1</translation>
    </message>
    <message>
        <source>Only the first %1 lines of your own treatments in &quot;%2&quot; are listed; the rest stays in the file as it is.</source>
        <translation>Sunt afișate doar primele %1 rânduri ale tratamentelor proprii din „%2”; restul rămâne în fișier așa cum este.</translation>
    </message>
    <message>
        <source>There is no file for your own treatments.</source>
        <translation>Nu există niciun fișier pentru tratamentele proprii.</translation>
    </message>
    <message>
        <source>Your own treatments were not read, so nothing is saved to their file.

%1</source>
        <translation>Tratamentele proprii nu au fost citite, așa că nimic nu se salvează în fișierul lor.

%1</translation>
    </message>
    <message>
        <source>Your own treatments can hold at most %1 lines.</source>
        <translation>Tratamentele proprii pot avea cel mult %1 rânduri.</translation>
    </message>
    <message>
        <source>That treatment is no longer in the list.</source>
        <translation>Acel tratament nu mai este în listă.</translation>
    </message>
    <message>
        <source>Your own treatments could not be saved to &quot;%1&quot;, so the change was not made.

%2</source>
        <translation>Tratamentele proprii nu au putut fi salvate în „%1”, așa că modificarea nu a fost făcută.

%2</translation>
    </message>
</context>
<context>
    <name>PlayerCore</name>
    <message>
        <source>Error!  You are using an old version of the tone engine %1. This program requires %2</source>
        <translation>Eroare!  Folosiți o versiune veche a motorului de tonuri, %1. Acest program necesită %2</translation>
    </message>
    <message>
        <source>  Channel %1 : Frequency %2Hz Volume %3% Pan %4%</source>
        <translation>  Canal %1 : Frecvență %2Hz Volum %3% Balans %4%</translation>
    </message>
    <message>
        <source>playing</source>
        <translation>activ</translation>
    </message>
    <message>
        <source>stopped</source>
        <translation>oprit</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Oprit</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pauză</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Redare</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Anulează</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Da</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nu</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Da</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nu</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Salvează</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Deschide</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Închide</translation>
    </message>
</context>
<context>
    <name>ResumeFile</name>
    <message>
        <source>The treatment that was playing when the program last ended cannot be resumed: its record &quot;%1&quot; is damaged and has been dropped.</source>
        <translation>Tratamentul care se reda la ultima închidere a programului nu poate fi reluat: înregistrarea lui „%1” este deteriorată și a fost eliminată.</translation>
    </message>
    <message>
        <source>The history could not be written.

%1</source>
        <translation>Istoricul nu a putut fi scris.

%1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was cut short, but it is no longer among the treatments, so it cannot be resumed.</source>
        <translation>„%1” a fost întrerupt, dar nu mai este printre tratamente, așa că nu poate fi reluat.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was cut short, but its length %2 is longer than the player allows for it (%3), so it cannot be resumed.</source>
        <translation>„%1” a fost întrerupt, dar durata lui, %2, depășește cât permite playerul pentru el (%3), așa că nu poate fi reluat.</translation>
    </message>
    <message>
        <source>Resume «%1» at frequency %2 of %3, %4 left?</source>
        <translation>Reluați «%1» de la frecvența %2 din %3, cu %4 rămase?</translation>
    </message>
</context>
<context>
    <name>Session</name>
    <message>
        <source>Line %1: the repeat count must be from 1 to 99; %2 is used.</source>
        <translation>Rândul %1: numărul de repetări trebuie să fie între 1 și 99; se folosește %2.</translation>
    </message>
    <message>
        <source>Line %1: the length &quot;%2&quot; is not hh:mm:ss; the suggested length is used.</source>
        <translation>Rândul %1: durata „%2” nu are forma hh:mm:ss; se folosește durata sugerată.</translation>
    </message>
</context>
<context>
    <name>SessionPlan</name>
    <message>
        <source>Not found, and passed over: %1.</source>
        <translation>Negăsite, deci sărite: %1.</translation>
    </message>
    <message>
        <source>Treatment %1 of %2, round %3 of %4</source>
        <translation>Tratamentul %1 din %2, runda %3 din %4</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>The settings store %1 cannot be written.</source>
        <translation>În depozitul de setări %1 nu se poate scrie.</translation>
    </message>
    <message>
        <source>The settings could not be written to %1.</source>
        <translation>Setările nu au putut fi scrise în %1.</translation>
    </message>
</context>
<context>
    <name>SoundOutputWatch</name>
    <message>
        <source>The sound is back; the treatment goes on.</source>
        <translation>Sunetul a revenit; tratamentul continuă.</translation>
    </message>
    <message>
        <source>Sound lost: %1 The treatment waits until it can be heard again.</source>
        <translation>Sunetul s-a pierdut: %1 Tratamentul așteaptă până când se poate auzi din nou.</translation>
    </message>
    <message>
        <source>No sound: %1</source>
        <translation>Fără sunet: %1</translation>
    </message>
    <message>
        <source>The output “%1” is not there; the tone plays on the system&apos;s default output.</source>
        <translation>Ieșirea „%1” nu există; tonul se redă pe ieșirea implicită a sistemului.</translation>
    </message>
    <message>
        <source>System default</source>
        <translation>Ieșirea implicită a sistemului</translation>
    </message>
</context>
<context>
    <name>Terminal</name>
    <message>
        <source>&quot;%1&quot; has no &quot; - &quot; between a name and frequencies.</source>
        <translation>„%1” nu are „ - ” între nume și frecvențe.</translation>
    </message>
    <message>
        <source>Your treatment %1 is already named &quot;%2&quot;; change it in the window, or give another name.</source>
        <translation>Tratamentul propriu %1 se numește deja „%2”; modificați-l în fereastră sau dați alt nume.</translation>
    </message>
    <message>
        <source>Note: %1</source>
        <translation>Notă: %1</translation>
    </message>
    <message>
        <source>Added %1: %2</source>
        <translation>Adăugat %1: %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; does not exist.</source>
        <translation>„%1” nu există.</translation>
    </message>
    <message>
        <source>Nothing was imported.</source>
        <translation>Nu a fost importat nimic.</translation>
    </message>
    <message>
        <source>Imported %1.</source>
        <translation>Importate: %1.</translation>
    </message>
    <message>
        <source>The output could not be written: %1.</source>
        <translation>Ieșirea nu a putut fi scrisă: %1.</translation>
    </message>
    <message>
        <source>Written to %1</source>
        <translation>Scris în %1</translation>
    </message>
    <message>
        <source>Cancelled; nothing was written.</source>
        <translation>Anulat; nu a fost scris nimic.</translation>
    </message>
    <message>
        <source>Try &apos;%1 --help&apos; for the options.</source>
        <translation>Încercați „%1 --help” pentru opțiuni.</translation>
    </message>
    <message>
        <source>No treatment was played today.</source>
        <translation>Azi nu a fost redat niciun tratament.</translation>
    </message>
    <message>
        <source>No treatment was played in the last %1 days.</source>
        <translation>În ultimele %1 zile nu a fost redat niciun tratament.</translation>
    </message>
    <message>
        <source>No treatment has been played yet.</source>
        <translation>Încă nu a fost redat niciun tratament.</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>da</translation>
    </message>
    <message>
        <source>There is no treatment to resume.</source>
        <translation>Nu există niciun tratament de reluat.</translation>
    </message>
    <message>
        <source> [y/N] </source>
        <translation> [d/N] </translation>
    </message>
    <message>
        <source>It stays in the history as interrupted.</source>
        <translation>Rămâne în istoric ca întrerupt.</translation>
    </message>
    <message>
        <source>%1 | %2</source>
        <translation>%1 | %2</translation>
    </message>
    <message>
        <source>The session has nothing to play.</source>
        <translation>Sesiunea nu are nimic de redat.</translation>
    </message>
    <message>
        <source>The tone engine could not be started.</source>
        <translation>Motorul de tonuri nu a putut fi pornit.</translation>
    </message>
</context>
<context>
    <name>ToneEngine</name>
    <message>
        <source>No errors.</source>
        <translation>Nicio eroare.</translation>
    </message>
    <message>
        <source>An invalid or released handle was used.</source>
        <translation>A fost folosit un identificator nevalid sau eliberat.</translation>
    </message>
    <message>
        <source>An invalid parameter was passed to this function.</source>
        <translation>Acestei funcții i s-a transmis un parametru nevalid.</translation>
    </message>
    <message>
        <source>The sound system has not been initialised.</source>
        <translation>Sistemul de sunet nu a fost inițializat.</translation>
    </message>
    <message>
        <source>The sound system has already been initialised.</source>
        <translation>Sistemul de sunet a fost deja inițializat.</translation>
    </message>
    <message>
        <source>No sound output device could be opened.</source>
        <translation>Nu a putut fi deschis niciun dispozitiv de ieșire a sunetului.</translation>
    </message>
    <message>
        <source>The sound output failed.</source>
        <translation>Ieșirea sunetului a eșuat.</translation>
    </message>
    <message>
        <source>This feature is not supported.</source>
        <translation>Această funcție nu este disponibilă.</translation>
    </message>
    <message>
        <source>No free channel is left to play on.</source>
        <translation>Nu a mai rămas niciun canal liber pentru redare.</translation>
    </message>
    <message>
        <source>Too many objects are in use.</source>
        <translation>Sunt folosite prea multe obiecte.</translation>
    </message>
    <message>
        <source>Unknown error.</source>
        <translation>Eroare necunoscută.</translation>
    </message>
    <message>
        <source>Tone engine error! (%1) %2</source>
        <translation>Eroare a motorului de tonuri! (%1) %2</translation>
    </message>
    <message>
        <source>No sound server answers. Start PipeWire (with its PulseAudio service, pipewire-pulse) or PulseAudio.</source>
        <translation>Niciun server de sunet nu răspunde. Porniți PipeWire (cu serviciul său PulseAudio, pipewire-pulse) sau PulseAudio.</translation>
    </message>
    <message>
        <source>The sound server does not answer.</source>
        <translation>Serverul de sunet nu răspunde.</translation>
    </message>
    <message>
        <source>The sound server went away.</source>
        <translation>Serverul de sunet a dispărut.</translation>
    </message>
    <message>
        <source>A sound-output module of this program is missing.</source>
        <translation>Lipsește un modul de ieșire a sunetului al acestui program.</translation>
    </message>
</context>
<context>
    <name>TreatmentCheck</name>
    <message>
        <source>The frequencies must be on one line, separated by commas.</source>
        <translation>Frecvențele trebuie să fie pe un singur rând, separate prin virgule.</translation>
    </message>
    <message>
        <source>Give at least one frequency in hertz; separate them with commas.</source>
        <translation>Dați cel puțin o frecvență în herți; separați-le prin virgule.</translation>
    </message>
    <message>
        <source>No frequency will be heard: give at least one above 0 Hz and below %1 Hz.</source>
        <translation>Nu se va auzi nicio frecvență: dați cel puțin una peste 0 Hz și sub %1 Hz.</translation>
    </message>
    <message>
        <source>No frequency will be heard; %1</source>
        <translation>Nu se va auzi nicio frecvență; %1</translation>
    </message>
    <message>
        <source>1 frequency will play</source>
        <translation>Se va reda 1 frecvență</translation>
    </message>
    <message numerus="yes">
        <source>%n frequencies will play</source>
        <translation>
            <numerusform>Se va reda %n frecvență</numerusform>
            <numerusform>Se vor reda %n frecvențe</numerusform>
            <numerusform>Se vor reda %n de frecvențe</numerusform>
        </translation>
    </message>
    <message>
        <source>1 frequency, which will not be heard</source>
        <translation>1 frecvență, care nu se va auzi</translation>
    </message>
    <message numerus="yes">
        <source>%n frequencies, of which %1 will be heard</source>
        <translation>
            <numerusform>%n frecvență, din care se va auzi %1</numerusform>
            <numerusform>%n frecvențe, din care se vor auzi %1</numerusform>
            <numerusform>%n de frecvențe, din care se vor auzi %1</numerusform>
        </translation>
    </message>
    <message>
        <source>; the treatment lasts %1 at its suggested length.</source>
        <translation>; la durata sugerată, tratamentul ține %1.</translation>
    </message>
    <message>
        <source>The list has %1 frequencies: only the first %2 play.</source>
        <translation>Lista are %1 frecvențe: se redau doar primele %2.</translation>
    </message>
    <message>
        <source>Give the treatment a name.</source>
        <translation>Dați un nume tratamentului.</translation>
    </message>
    <message>
        <source>The name must be on one line.</source>
        <translation>Numele trebuie să fie pe un singur rând.</translation>
    </message>
    <message>
        <source>The name must not contain &quot; - &quot; (space, hyphen, space) or end in &quot; -&quot;: it separates the name from the frequencies.</source>
        <translation>Numele nu poate conține „ - ” (spațiu, cratimă, spațiu) și nici nu se poate termina în „ -”: acestea despart numele de frecvențe.</translation>
    </message>
    <message>
        <source>piece %1</source>
        <translation>bucata %1</translation>
    </message>
    <message>
        <source>piece %1, «%2»,</source>
        <translation>bucata %1, «%2»,</translation>
    </message>
    <message>
        <source> (values above 20000 are divided by 20.0855)</source>
        <translation> (valorile de peste 20000 sunt împărțite la 20,0855)</translation>
    </message>
    <message>
        <source>%1 is empty: it is silent.</source>
        <translation>%1 este goală: nu se aude.</translation>
    </message>
    <message>
        <source>%1 is not a number: it plays as %2 Hz.</source>
        <translation>%1 nu este un număr: se redă ca %2 Hz.</translation>
    </message>
    <message>
        <source>%1 is not a number: it is silent.</source>
        <translation>%1 nu este un număr: nu se aude.</translation>
    </message>
    <message>
        <source>%1 is silent (0 Hz).</source>
        <translation>%1 nu se aude (0 Hz).</translation>
    </message>
    <message>
        <source>%1 is silent: %2 Hz is at or above half the output rate%3.</source>
        <translation>%1 nu se aude: %2 Hz este cel puțin jumătate din rata de ieșire%3.</translation>
    </message>
    <message>
        <source>%1 is below 20 Hz: most speakers and headphones reproduce little there.</source>
        <translation>%1 este sub 20 Hz: majoritatea difuzoarelor și căștilor redau foarte puțin acolo.</translation>
    </message>
    <message>
        <source>%1 plays at %2 Hz, above 16 kHz: many adults hear nothing there%3.</source>
        <translation>%1 se redă la %2 Hz, peste 16 kHz: mulți adulți nu aud nimic acolo%3.</translation>
    </message>
    <message>
        <source>%1 plays as %2 Hz%3.</source>
        <translation>%1 se redă ca %2 Hz%3.</translation>
    </message>
    <message>
        <source>It cannot be played: it has no &quot; - &quot; between a name and its frequencies.</source>
        <translation>Nu poate fi redat: nu are „ - ” între nume și frecvențele sale.</translation>
    </message>
    <message>
        <source>It cannot be played: no frequency in it will be heard.</source>
        <translation>Nu poate fi redat: nu se va auzi nicio frecvență din el.</translation>
    </message>
    <message>
        <source>It cannot be played: no frequency in it will be heard; %1</source>
        <translation>Nu poate fi redat: nu se va auzi nicio frecvență din el; %1</translation>
    </message>
</context>
<context>
    <name>TreatmentFinder</name>
    <message>
        <source>There is no treatment %1 among your own.</source>
        <translation>Nu există tratamentul %1 printre cele proprii.</translation>
    </message>
    <message>
        <source>There is no entry %1 in the catalogue.</source>
        <translation>Nu există intrarea %1 în catalog.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; names no playable entry.</source>
        <translation>„%1” nu numește nicio intrare redabilă.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; names %2 playable entries; choose one by its number.</source>
        <translation>„%1” numește %2 intrări redabile; alegeți una după număr.</translation>
    </message>
</context>
<context>
    <name>TreatmentRecorder</name>
    <message>
        <source>Where the treatment stands could not be kept, so it cannot be resumed if the program is cut short.

%1</source>
        <translation>Locul în care a ajuns tratamentul nu a putut fi păstrat, așa că nu va putea fi reluat dacă programul se închide brusc.

%1</translation>
    </message>
    <message>
        <source>The treatment could not be added to the history.

%1</source>
        <translation>Tratamentul nu a putut fi adăugat în istoric.

%1</translation>
    </message>
</context>
<context>
    <name>UserFiles</name>
    <message>
        <source>&quot;%1&quot; is not a regular file.</source>
        <translation>„%1” nu este un fișier obișnuit.</translation>
    </message>
    <message>
        <source>The folder &quot;%1&quot; could not be created.</source>
        <translation>Dosarul „%1” nu a putut fi creat.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be read: %2.</source>
        <translation>„%1” nu a putut fi citit: %2.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is larger than %2 MiB and was not read.</source>
        <translation>„%1” are peste %2 MiB și nu a fost citit.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; grew past its size limit while it was read.</source>
        <translation>„%1” a depășit limita de mărime în timp ce era citit.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be saved: %2.</source>
        <translation>„%1” nu a putut fi salvat: %2.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be opened: %2.</source>
        <translation>„%1” nu a putut fi deschis: %2.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be written: %2.</source>
        <translation>„%1” nu a putut fi scris: %2.</translation>
    </message>
</context>
<context>
    <name>helicordia::AboutWindow</name>
    <message>
        <source>About</source>
        <translation>Despre</translation>
    </message>
    <message>
        <source>Click!</source>
        <translation>Închide</translation>
    </message>
    <message>
        <source>www:</source>
        <translation>www:</translation>
    </message>
    <message>
        <source>e-mail:</source>
        <translation>e-mail:</translation>
    </message>
    <message>
        <source>Visit Author Home Page</source>
        <translation>Vizitați pagina autorului</translation>
    </message>
    <message>
        <source>Email author</source>
        <translation>Scrieți-i autorului</translation>
    </message>
    <message>
        <source>Download the latest version of Helicordia</source>
        <translation>Descărcați cea mai nouă versiune Helicordia</translation>
    </message>
    <message>
        <source>Download Orbitdeck,    it is free!</source>
        <translation>Descărcați Orbitdeck,    este gratuit!</translation>
    </message>
    <message>
        <source>Download the latest version of Orbitdeck</source>
        <translation>Descărcați cea mai nouă versiune Orbitdeck</translation>
    </message>
</context>
<context>
    <name>helicordia::CatalogueListModel</name>
    <message>
        <source>health problems:</source>
        <translation>afecțiuni:</translation>
    </message>
</context>
<context>
    <name>helicordia::HistoryChart</name>
    <message>
        <source>Minutes heard per day, last %1 days</source>
        <translation>Minute ascultate pe zi, ultimele %1 zile</translation>
    </message>
</context>
<context>
    <name>helicordia::HistoryWindow</name>
    <message>
        <source>History — %1</source>
        <translation>Istoric — %1</translation>
    </message>
    <message>
        <source>Export the history</source>
        <translation>Exportă istoricul</translation>
    </message>
    <message>
        <source>CSV files (*.csv);;All files (*)</source>
        <translation>Fișiere CSV (*.csv);;Toate fișierele (*)</translation>
    </message>
    <message>
        <source>Search by date, treatment or ending</source>
        <translation>Căutați după dată, tratament sau final</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>Treatment</source>
        <translation>Tratament</translation>
    </message>
    <message>
        <source>Heard of planned</source>
        <translation>Ascultat din planificat</translation>
    </message>
    <message>
        <source>Ending</source>
        <translation>Final</translation>
    </message>
    <message>
        <source>Play again</source>
        <translation>Redă din nou</translation>
    </message>
    <message>
        <source>Export CSV…</source>
        <translation>Exportă CSV…</translation>
    </message>
    <message>
        <source>The history could not be exported.

%1</source>
        <translation>Istoricul nu a putut fi exportat.

%1</translation>
    </message>
</context>
<context>
    <name>helicordia::ListCommands</name>
    <message>
        <source>List commands</source>
        <translation>Comenzile listei</translation>
    </message>
    <message>
        <source>New treatment…</source>
        <translation>Tratament nou…</translation>
    </message>
    <message>
        <source>Copy to my treatments…</source>
        <translation>Copiază la tratamentele mele…</translation>
    </message>
    <message>
        <source>Edit…</source>
        <translation>Editează…</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Șterge</translation>
    </message>
    <message>
        <source>Undo delete</source>
        <translation>Anulează ștergerea</translation>
    </message>
    <message>
        <source>Import…</source>
        <translation>Importă…</translation>
    </message>
    <message>
        <source>Export my treatments…</source>
        <translation>Exportă tratamentele mele…</translation>
    </message>
    <message>
        <source>History…</source>
        <translation>Istoric…</translation>
    </message>
    <message>
        <source>Add to session</source>
        <translation>Adaugă la sesiune</translation>
    </message>
    <message>
        <source>Session…</source>
        <translation>Sesiune…</translation>
    </message>
</context>
<context>
    <name>helicordia::MainWindow</name>
    <message>
        <source>%1

The recent list starts empty.</source>
        <translation>%1

Lista recentelor pornește goală.</translation>
    </message>
    <message>
        <source>Helicordia cannot start.

%1</source>
        <translation>Helicordia nu poate porni.

%1</translation>
    </message>
    <message>
        <source>%1

The window opens where it opens the first time.</source>
        <translation>%1

Fereastra se deschide acolo unde se deschide prima dată.</translation>
    </message>
    <message>
        <source>The settings store could not be opened.</source>
        <translation>Depozitul de setări nu a putut fi deschis.</translation>
    </message>
    <message>
        <source>The window position and options could not be saved.

%1</source>
        <translation>Poziția ferestrei și opțiunile nu au putut fi salvate.

%1</translation>
    </message>
    <message>
        <source>The recent list could not be saved.

%1</source>
        <translation>Lista recentelor nu a putut fi salvată.

%1</translation>
    </message>
    <message>
        <source>The help page &quot;%1&quot; is missing.</source>
        <translation>Pagina de ajutor „%1” lipsește.</translation>
    </message>
    <message>
        <source>The help page could not be opened: no program to show it was found.

You can open the file &quot;%1&quot; in a web browser.</source>
        <translation>Pagina de ajutor nu a putut fi deschisă: nu s-a găsit niciun program care să o afișeze.

Puteți deschide fișierul „%1” într-un navigator web.</translation>
    </message>
    <message>
        <source>&amp;Find health problems:</source>
        <translation>&amp;Caută afecțiuni:</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Redă</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Opțiuni</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Ajutor</translation>
    </message>
    <message>
        <source>Recent</source>
        <translation>Recente</translation>
    </message>
    <message>
        <source>Entries listed</source>
        <translation>Intrări afișate</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Despre</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Ieșire</translation>
    </message>
</context>
<context>
    <name>helicordia::MainWindowKeys</name>
    <message>
        <source>Find health problems</source>
        <translation>Caută afecțiuni</translation>
    </message>
    <message>
        <source>Filters the list as you type. Down, Up, Page Down and Page Up move the selection, Ctrl+Enter plays it, Ctrl+R opens the recent list</source>
        <translation>Filtrează lista pe măsură ce scrieți. Săgețile jos și sus, Page Down și Page Up mută selecția, Ctrl+Enter o redă, Ctrl+R deschide lista recentelor</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Căutare</translation>
    </message>
    <message>
        <source>Runs the search again (Enter)</source>
        <translation>Caută din nou (Enter)</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Redare</translation>
    </message>
    <message>
        <source>Plays the selected entry (Ctrl+Enter)</source>
        <translation>Redă intrarea selectată (Ctrl+Enter)</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Ajutor</translation>
    </message>
    <message>
        <source>Opens the help page</source>
        <translation>Deschide pagina de ajutor</translation>
    </message>
    <message>
        <source>Minimise</source>
        <translation>Minimizare</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Ieșire</translation>
    </message>
    <message>
        <source>Ends the program (Ctrl+Q)</source>
        <translation>Închide programul (Ctrl+Q)</translation>
    </message>
    <message>
        <source>Opens the options menu</source>
        <translation>Deschide meniul de opțiuni</translation>
    </message>
    <message>
        <source>Opens the recent list (Ctrl+R)</source>
        <translation>Deschide lista recentelor (Ctrl+R)</translation>
    </message>
    <message>
        <source>Recent list</source>
        <translation>Lista recentelor</translation>
    </message>
    <message>
        <source>The entries played lately, newest first. Enter picks one, Escape closes the list</source>
        <translation>Intrările redate recent, cele mai noi primele. Enter alege una, Escape închide lista</translation>
    </message>
    <message>
        <source>Catalogue</source>
        <translation>Catalog</translation>
    </message>
    <message>
        <source>Entries marked # can be played, entries marked _ are headings or notes, entries marked + are your own treatments. The right-click menu makes, edits, deletes, imports and exports your own</source>
        <translation>Intrările marcate cu # pot fi redate, cele marcate cu _ sunt titluri sau note, cele marcate cu + sunt tratamentele proprii. Meniul de la clic dreapta creează, editează, șterge, importă și exportă tratamentele proprii</translation>
    </message>
    <message>
        <source>Entries listed</source>
        <translation>Intrări afișate</translation>
    </message>
</context>
<context>
    <name>helicordia::OwnTreatmentActions</name>
    <message>
        <source>Text files (*.txt);;All files (*)</source>
        <translation>Fișiere text (*.txt);;Toate fișierele (*)</translation>
    </message>
    <message>
        <source>Export my treatments</source>
        <translation>Exportă tratamentele mele</translation>
    </message>
    <message>
        <source>Import treatments</source>
        <translation>Importă tratamente</translation>
    </message>
    <message>
        <source>New treatment</source>
        <translation>Tratament nou</translation>
    </message>
    <message>
        <source>Copy to my treatments</source>
        <translation>Copiază la tratamentele mele</translation>
    </message>
    <message>
        <source>Edit treatment %1</source>
        <translation>Editează tratamentul %1</translation>
    </message>
    <message>
        <source>Your treatment %1 is already named «%2». Replace it?</source>
        <translation>Tratamentul propriu %1 se numește deja «%2». Îl înlocuiți?</translation>
    </message>
    <message>
        <source>&quot;%1&quot; does not exist.</source>
        <translation>„%1” nu există.</translation>
    </message>
    <message>
        <source>Nothing was imported.</source>
        <translation>Nu a fost importat nimic.</translation>
    </message>
    <message>
        <source>Add them?</source>
        <translation>Le adăugați?</translation>
    </message>
</context>
<context>
    <name>helicordia::Player</name>
    <message>
        <source>centre</source>
        <translation>centru</translation>
    </message>
    <message>
        <source>%1 % left</source>
        <translation>%1 % stânga</translation>
    </message>
    <message>
        <source>%1 % right</source>
        <translation>%1 % dreapta</translation>
    </message>
    <message>
        <source>Helicordia player</source>
        <translation>Player Helicordia</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Redare</translation>
    </message>
    <message>
        <source>Starts or resumes the treatment (Space)</source>
        <translation>Pornește sau reia tratamentul (Spațiu)</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pauză</translation>
    </message>
    <message>
        <source>Pauses the treatment (Space while playing)</source>
        <translation>Întrerupe tratamentul (Spațiu în timpul redării)</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Oprire</translation>
    </message>
    <message>
        <source>Stops the treatment (S)</source>
        <translation>Oprește tratamentul (S)</translation>
    </message>
    <message>
        <source>Skip</source>
        <translation>Salt</translation>
    </message>
    <message>
        <source>Skips to the next frequency (N)</source>
        <translation>Sare la frecvența următoare (N)</translation>
    </message>
    <message>
        <source>Hold</source>
        <translation>Menținere</translation>
    </message>
    <message>
        <source>Holds the current frequency; press again to go on (H)</source>
        <translation>Menține frecvența curentă; apăsați din nou pentru a continua (H)</translation>
    </message>
    <message>
        <source>Home page</source>
        <translation>Pagina principală</translation>
    </message>
    <message>
        <source>Opens the maker&apos;s web site</source>
        <translation>Deschide site-ul producătorului</translation>
    </message>
    <message>
        <source>Minimise</source>
        <translation>Minimizare</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Închide</translation>
    </message>
    <message>
        <source>Closes the player (Escape)</source>
        <translation>Închide playerul (Escape)</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Avertisment</translation>
    </message>
    <message>
        <source>High volume level may be dangerous!</source>
        <translation>Un volum ridicat poate fi periculos!</translation>
    </message>
    <message>
        <source>Decoration</source>
        <translation>Decor</translation>
    </message>
    <message>
        <source>Status line</source>
        <translation>Linie de stare</translation>
    </message>
    <message>
        <source>The channel&apos;s frequency, volume and pan</source>
        <translation>Frecvența, volumul și balansul canalului</translation>
    </message>
    <message>
        <source>Health problem ID</source>
        <translation>Numărul afecțiunii</translation>
    </message>
    <message>
        <source>Health problem</source>
        <translation>Afecțiune</translation>
    </message>
    <message>
        <source>Number of frequencies</source>
        <translation>Numărul de frecvențe</translation>
    </message>
    <message>
        <source>Suggested duration</source>
        <translation>Durata sugerată</translation>
    </message>
    <message>
        <source>Chosen duration</source>
        <translation>Durata aleasă</translation>
    </message>
    <message>
        <source>Volume</source>
        <translation>Volum</translation>
    </message>
    <message>
        <source>Elapsed time</source>
        <translation>Timp scurs</translation>
    </message>
    <message>
        <source>Frequency playing</source>
        <translation>Frecvența în redare</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Stare</translation>
    </message>
    <message>
        <source>Duration of treatment</source>
        <translation>Durata tratamentului</translation>
    </message>
    <message>
        <source>Channel volume</source>
        <translation>Volumul canalului</translation>
    </message>
    <message>
        <source>Channel pan</source>
        <translation>Balansul canalului</translation>
    </message>
    <message>
        <source>Duration of treatment (can adjust)</source>
        <translation>Durata tratamentului (reglabilă)</translation>
    </message>
    <message>
        <source>Channel Volume</source>
        <translation>Volum canal</translation>
    </message>
    <message>
        <source>Channel Pan</source>
        <translation>Balans canal</translation>
    </message>
    <message>
        <source>Visit our web site for more programs and news</source>
        <translation>Vizitați site-ul nostru pentru mai multe programe și noutăți</translation>
    </message>
    <message>
        <source>Export treatment…</source>
        <translation>Exportă tratamentul…</translation>
    </message>
    <message>
        <source>Visit us</source>
        <translation>Vizitați-ne</translation>
    </message>
    <message>
        <source>Health problem:</source>
        <translation>Afecțiune:</translation>
    </message>
    <message>
        <source>Health problem ID:</source>
        <translation>Nr. afecțiune:</translation>
    </message>
    <message>
        <source>Number of frequency:</source>
        <translation>Nr. de frecvențe:</translation>
    </message>
    <message>
        <source>Duration of treatment (suggested):</source>
        <translation>Durată tratament (sugerată):</translation>
    </message>
    <message>
        <source>Duration of treatment (can adjust):</source>
        <translation>Durată tratament (reglabilă):</translation>
    </message>
    <message>
        <source>Frequency control</source>
        <translation>Control frecvență</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Timp</translation>
    </message>
    <message>
        <source>Elapsed Time</source>
        <translation>Timp scurs</translation>
    </message>
    <message>
        <source>Idle</source>
        <translation>Inactiv</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Stare</translation>
    </message>
    <message>
        <source>Track</source>
        <translation>Pistă</translation>
    </message>
    <message>
        <source>Track number</source>
        <translation>Numărul pistei</translation>
    </message>
    <message>
        <source>Skip current frequency</source>
        <translation>Sari peste frecvența curentă</translation>
    </message>
    <message>
        <source>Hold current frequency (continuous play)</source>
        <translation>Menține frecvența curentă (redare continuă)</translation>
    </message>
    <message>
        <source>History…</source>
        <translation>Istoric…</translation>
    </message>
    <message>
        <source>Session</source>
        <translation>Sesiune</translation>
    </message>
    <message>
        <source>Output</source>
        <translation>Ieșire audio</translation>
    </message>
    <message>
        <source>Sound output</source>
        <translation>Ieșirea sunetului</translation>
    </message>
    <message>
        <source>%1 (not connected)</source>
        <translation>%1 (neconectată)</translation>
    </message>
</context>
<context>
    <name>helicordia::PlayerExport</name>
    <message>
        <source>FLAC, 24-bit (*.flac)</source>
        <translation>FLAC, 24 de biți (*.flac)</translation>
    </message>
    <message>
        <source>WAV, 32-bit float (*.wav)</source>
        <translation>WAV, virgulă mobilă pe 32 de biți (*.wav)</translation>
    </message>
    <message>
        <source>WAV, 16-bit (*.wav)</source>
        <translation>WAV, 16 biți (*.wav)</translation>
    </message>
    <message>
        <source>Export treatment</source>
        <translation>Exportă tratamentul</translation>
    </message>
    <message>
        <source>Cannot export to &quot;%1&quot;: the name must end in .wav, .flac or .ogg.</source>
        <translation>Nu se poate exporta în „%1”: numele trebuie să se termine în .wav, .flac sau .ogg.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Anulează</translation>
    </message>
    <message>
        <source>Exporting to %1</source>
        <translation>Se exportă în %1</translation>
    </message>
    <message>
        <source>%1
%2 Hz, %3 of %4: %5 of %6</source>
        <translation>%1
%2 Hz, %3 din %4: %5 din %6</translation>
    </message>
</context>
<context>
    <name>helicordia::Program</name>
    <message>
        <source>&quot;%1&quot; is no longer among the treatments, so it cannot be played again.</source>
        <translation>„%1” nu mai este printre tratamente, așa că nu poate fi redat din nou.</translation>
    </message>
</context>
<context>
    <name>helicordia::SessionWindow</name>
    <message>
        <source>Move up</source>
        <translation>Mută mai sus</translation>
    </message>
    <message>
        <source>Alt+Up</source>
        <translation>Alt+Sus</translation>
    </message>
    <message>
        <source>Move down</source>
        <translation>Mută mai jos</translation>
    </message>
    <message>
        <source>Alt+Down</source>
        <translation>Alt+Jos</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Elimină</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Golește</translation>
    </message>
    <message>
        <source>Open…</source>
        <translation>Deschide…</translation>
    </message>
    <message>
        <source>Save…</source>
        <translation>Salvează…</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Redă</translation>
    </message>
    <message>
        <source>Export session…</source>
        <translation>Exportă sesiunea…</translation>
    </message>
    <message>
        <source>Sessions (*.%1);;All files (*)</source>
        <translation>Sesiuni (*.%1);;Toate fișierele (*)</translation>
    </message>
    <message>
        <source>Save session</source>
        <translation>Salvează sesiunea</translation>
    </message>
    <message>
        <source>Open session</source>
        <translation>Deschide o sesiune</translation>
    </message>
    <message>
        <source>Session</source>
        <translation>Sesiune</translation>
    </message>
    <message>
        <source>Export session</source>
        <translation>Exportă sesiunea</translation>
    </message>
    <message>
        <source>Treatments of the session</source>
        <translation>Tratamentele sesiunii</translation>
    </message>
    <message>
        <source>Treatment</source>
        <translation>Tratament</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>Durată</translation>
    </message>
    <message>
        <source>&amp;Repeat count:</source>
        <translation>&amp;Repetări:</translation>
    </message>
    <message>
        <source>Repeat count</source>
        <translation>Număr de repetări</translation>
    </message>
    <message>
        <source>Total length</source>
        <translation>Durata totală</translation>
    </message>
    <message>
        <source>%1 (missing)</source>
        <translation>%1 (lipsește)</translation>
    </message>
    <message>
        <source>Not found among the catalogue and your treatments: passed over when the session plays.</source>
        <translation>Nu se găsește în catalog și nici printre tratamentele proprii: este sărit când se redă sesiunea.</translation>
    </message>
    <message>
        <source>From %1 to %2</source>
        <translation>De la %1 la %2</translation>
    </message>
    <message>
        <source>Total: %1</source>
        <translation>Total: %1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a length like 00:09:00.</source>
        <translation>„%1” nu este o durată de forma 00:09:00.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; does not exist.</source>
        <translation>„%1” nu există.</translation>
    </message>
    <message>
        <source>session</source>
        <translation>sesiune</translation>
    </message>
    <message>
        <source>%1
%2: %3 Hz, %4 of %5</source>
        <translation>%1
%2: %3 Hz, %4 din %5</translation>
    </message>
</context>
<context>
    <name>helicordia::ShapedWindow</name>
    <message>
        <source>Minimized</source>
        <translation>Minimizare</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Ieșire</translation>
    </message>
</context>
<context>
    <name>helicordia::TerminalPlayer</name>
    <message>
        <source>%1 | %2</source>
        <translation>%1 | %2</translation>
    </message>
</context>
<context>
    <name>helicordia::TreatmentEditor</name>
    <message>
        <source>&amp;Listen</source>
        <translation>&amp;Ascultă</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Nume:</translation>
    </message>
    <message>
        <source>&amp;Frequencies (Hz):</source>
        <translation>&amp;Frecvențe (Hz):</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nume</translation>
    </message>
    <message>
        <source>Frequencies</source>
        <translation>Frecvențe</translation>
    </message>
    <message>
        <source>Frequencies in hertz, separated by commas, for example 432,528,741</source>
        <translation>Frecvențe în herți, separate prin virgule, de exemplu 432,528,741</translation>
    </message>
    <message>
        <source>for example 432,528,741</source>
        <translation>de exemplu 432,528,741</translation>
    </message>
    <message>
        <source>Checks</source>
        <translation>Verificări</translation>
    </message>
    <message>
        <source>Listen</source>
        <translation>Ascultă</translation>
    </message>
    <message>
        <source>Plays the first frequency that will be heard while the button is held down</source>
        <translation>Redă prima frecvență care se va auzi cât timp butonul este ținut apăsat</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Anulează</translation>
    </message>
    <message>
        <source>… and %1 more remarks.</source>
        <translation>… și încă %1 observații.</translation>
    </message>
</context>
</TS>
