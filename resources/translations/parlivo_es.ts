<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="en">
<context>
    <name>AboutWindow</name>
    <message>
        <source>About Parlivo</source>
        <translation>Acerca de Parlivo</translation>
    </message>
    <message>
        <source>Version 1.0</source>
        <translation>Versión 1.0</translation>
    </message>
    <message>
        <source>Parlivo reads your text aloud with a real voice.
Free software for learners and their teachers.
Speech by espeak-ng and Festival.</source>
        <translation>Parlivo lee su texto en voz alta con una voz real.
Software libre para estudiantes y sus profesores.
Voz de espeak-ng y Festival.</translation>
    </message>
</context>
<context>
    <name>AllVoicesEngine</name>
    <message>
        <source>No voice is installed.</source>
        <translation>No hay ninguna voz instalada.</translation>
    </message>
</context>
<context>
    <name>AtomicFile</name>
    <message>
        <source>the folder does not exist</source>
        <translation>la carpeta no existe</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>es una carpeta</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>no es un archivo normal</translation>
    </message>
    <message>
        <source>the file is read-only</source>
        <translation>el archivo es de solo lectura</translation>
    </message>
    <message>
        <source>the disk is full</source>
        <translation>el disco está lleno</translation>
    </message>
    <message>
        <source>the file is larger than this system allows</source>
        <translation>el archivo es más grande de lo que este sistema permite</translation>
    </message>
</context>
<context>
    <name>ColourSchemes</name>
    <message>
        <source>Cannot open file %1</source>
        <translation>No se puede abrir el archivo %1</translation>
    </message>
    <message>
        <source>Cannot create file %1</source>
        <translation>No se puede crear el archivo %1</translation>
    </message>
</context>
<context>
    <name>CustomiseDialog</name>
    <message>
        <source>Normal</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>Slightly wide</source>
        <translation>Algo ancho</translation>
    </message>
    <message>
        <source>Wide</source>
        <translation>Ancho</translation>
    </message>
    <message>
        <source>Wider</source>
        <translation>Más ancho</translation>
    </message>
    <message>
        <source>Widest</source>
        <translation>El más ancho</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Desactivado</translation>
    </message>
    <message>
        <source>1 line</source>
        <translation>1 línea</translation>
    </message>
    <message>
        <source>3 lines</source>
        <translation>3 líneas</translation>
    </message>
    <message>
        <source>5 lines</source>
        <translation>5 líneas</translation>
    </message>
    <message>
        <source>There was a problem, unable to save customisation file.</source>
        <translation>Ha habido un problema; no se ha podido guardar el archivo de personalización.</translation>
    </message>
    <message>
        <source>Customisation</source>
        <translation>Personalización</translation>
    </message>
    <message>
        <source>Click to set toolbar background colour</source>
        <translation>Haga clic para elegir el color de fondo de la barra de herramientas</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Barra de herramientas</translation>
    </message>
    <message>
        <source>Click to set Toolbar font colour</source>
        <translation>Haga clic para elegir el color de letra de la barra de herramientas</translation>
    </message>
    <message>
        <source>Font Colour</source>
        <translation>Color de letra</translation>
    </message>
    <message>
        <source>Click to set toolbar font colour</source>
        <translation>Haga clic para elegir el color de letra de la barra de herramientas</translation>
    </message>
    <message>
        <source>Background Colour</source>
        <translation>Color de fondo</translation>
    </message>
    <message>
        <source>Click to set Text Area background colour</source>
        <translation>Haga clic para elegir el color de fondo del área de texto</translation>
    </message>
    <message>
        <source>Text Area</source>
        <translation>Área de texto</translation>
    </message>
    <message>
        <source>click to set Text Area font colour</source>
        <translation>haga clic para elegir el color de letra del área de texto</translation>
    </message>
    <message>
        <source>Click to set Text Area font colour</source>
        <translation>Haga clic para elegir el color de letra del área de texto</translation>
    </message>
    <message>
        <source>Click to set Status Bar background colour</source>
        <translation>Haga clic para elegir el color de fondo de la barra de estado</translation>
    </message>
    <message>
        <source>Status Bar</source>
        <translation>Barra de estado</translation>
    </message>
    <message>
        <source>Click to set Status Bar font colour</source>
        <translation>Haga clic para elegir el color de letra de la barra de estado</translation>
    </message>
    <message>
        <source>Click to set Reader background colour</source>
        <translation>Haga clic para elegir el color de fondo del lector</translation>
    </message>
    <message>
        <source>Text Reader</source>
        <translation>Lector de texto</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Ubicación</translation>
    </message>
    <message>
        <source>FC</source>
        <translation>CL</translation>
    </message>
    <message>
        <source>BC</source>
        <translation>CF</translation>
    </message>
    <message>
        <source>Application font size</source>
        <translation>Tamaño de letra de la aplicación</translation>
    </message>
    <message>
        <source>Click to set application font size</source>
        <translation>Haga clic para elegir el tamaño de letra de la aplicación</translation>
    </message>
    <message>
        <source>Reading Text font size</source>
        <translation>Tamaño de letra del texto de lectura</translation>
    </message>
    <message>
        <source>Click to set Reading Text font colour</source>
        <translation>Haga clic para elegir el tamaño de letra del texto de lectura</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Guardar</translation>
    </message>
    <message>
        <source>Click to save customisation to file</source>
        <translation>Haga clic para guardar la personalización en un archivo</translation>
    </message>
    <message>
        <source>&amp;Apply</source>
        <translation>A&amp;plicar</translation>
    </message>
    <message>
        <source>Click to apply current settings</source>
        <translation>Haga clic para aplicar la configuración actual</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Cerrar</translation>
    </message>
    <message>
        <source>Click to close Customisation form</source>
        <translation>Haga clic para cerrar la ventana de personalización</translation>
    </message>
    <message>
        <source>Reading aids</source>
        <translation>Ayudas de lectura</translation>
    </message>
    <message>
        <source>Reading text typeface</source>
        <translation>Tipo de letra del texto de lectura</translation>
    </message>
    <message>
        <source>Click to choose the typeface of the reading text</source>
        <translation>Haga clic para elegir el tipo de letra del texto de lectura</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>Estándar</translation>
    </message>
    <message>
        <source>Reading &amp;typeface</source>
        <translation>&amp;Tipo de letra de lectura</translation>
    </message>
    <message>
        <source>Also &amp;replace the fonts of documents</source>
        <translation>Sustituir también las &amp;fuentes de los documentos</translation>
    </message>
    <message>
        <source>Also replace the fonts of documents</source>
        <translation>Sustituir también las fuentes de los documentos</translation>
    </message>
    <message>
        <source>Rich-text documents keep their own fonts unless this is ticked</source>
        <translation>Los documentos con formato conservan sus propias fuentes salvo que esto esté marcado</translation>
    </message>
    <message>
        <source>Line spacing</source>
        <translation>Interlineado</translation>
    </message>
    <message>
        <source>Click to set the space between the lines of the reading text</source>
        <translation>Haga clic para elegir el espacio entre las líneas del texto de lectura</translation>
    </message>
    <message>
        <source>&amp;Line spacing</source>
        <translation>&amp;Interlineado</translation>
    </message>
    <message>
        <source>Letter spacing</source>
        <translation>Espaciado entre letras</translation>
    </message>
    <message>
        <source>Click to set the space between the letters of the reading text</source>
        <translation>Haga clic para elegir el espacio entre las letras del texto de lectura</translation>
    </message>
    <message>
        <source>L&amp;etter spacing</source>
        <translation>&amp;Espaciado entre letras</translation>
    </message>
    <message>
        <source>Line focus</source>
        <translation>Enfoque de línea</translation>
    </message>
    <message>
        <source>Dims the reading area except the lines around the spoken word</source>
        <translation>Oscurece el área de lectura salvo las líneas alrededor de la palabra dicha</translation>
    </message>
    <message>
        <source>Line &amp;focus</source>
        <translation>Enf&amp;oque de línea</translation>
    </message>
    <message>
        <source>Focus on the caret &amp;when not reading</source>
        <translation>Enfocar el cursor c&amp;uando no se lee</translation>
    </message>
    <message>
        <source>Focus on the caret when not reading</source>
        <translation>Enfocar el cursor cuando no se lee</translation>
    </message>
    <message>
        <source>Keeps the line focus on the caret while nothing is being read</source>
        <translation>Mantiene el enfoque de línea en el cursor mientras no se lee nada</translation>
    </message>
    <message>
        <source>Show s&amp;yllables</source>
        <translation>Mostrar síla&amp;bas</translation>
    </message>
    <message>
        <source>Show syllables</source>
        <translation>Mostrar sílabas</translation>
    </message>
    <message>
        <source>Shows a dot between the syllables of each word; the text itself stays as it is</source>
        <translation>Muestra un punto entre las sílabas de cada palabra; el texto en sí no cambia</translation>
    </message>
    <message>
        <source>My &amp;language (translations)</source>
        <translation>&amp;Mi idioma (traducciones)</translation>
    </message>
    <message>
        <source>My language</source>
        <translation>Mi idioma</translation>
    </message>
    <message>
        <source>The language Translate puts English into</source>
        <translation>El idioma al que Traducir pasa el inglés</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Ninguno</translation>
    </message>
    <message>
        <source>&amp;Window language (from the next start)</source>
        <translation>Idioma de la &amp;ventana (desde el próximo inicio)</translation>
    </message>
    <message>
        <source>Window language</source>
        <translation>Idioma de la ventana</translation>
    </message>
    <message>
        <source>The language of the window&apos;s captions and messages</source>
        <translation>El idioma de los textos y mensajes de la ventana</translation>
    </message>
    <message>
        <source>The desktop&apos;s language</source>
        <translation>El idioma del escritorio</translation>
    </message>
    <message>
        <source>Save Customisation</source>
        <translation>Guardar personalización</translation>
    </message>
    <message>
        <source>Customisation Name</source>
        <translation>Nombre de la personalización</translation>
    </message>
</context>
<context>
    <name>DefinitionWindow</name>
    <message>
        <source>There is no definition of &quot;%1&quot; in the dictionary.</source>
        <translation>No hay ninguna definición de «%1» en el diccionario.</translation>
    </message>
    <message>
        <source> For example: %1.</source>
        <translation> Por ejemplo: %1.</translation>
    </message>
    <message>
        <source>Define: %1</source>
        <translation>Definir: %1</translation>
    </message>
    <message>
        <source>Meanings of %1</source>
        <translation>Significados de %1</translation>
    </message>
    <message>
        <source>&amp;Synonyms:</source>
        <translation>&amp;Sinónimos:</translation>
    </message>
    <message>
        <source>Synonyms</source>
        <translation>Sinónimos</translation>
    </message>
    <message>
        <source>&amp;Insert</source>
        <translation>&amp;Insertar</translation>
    </message>
    <message>
        <source>Put the chosen synonym in place of the word</source>
        <translation>Poner el sinónimo elegido en lugar de la palabra</translation>
    </message>
    <message>
        <source>&amp;Read</source>
        <translation>&amp;Leer</translation>
    </message>
    <message>
        <source>Read the first meaning aloud</source>
        <translation>Leer en voz alta el primer significado</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Cerrar</translation>
    </message>
</context>
<context>
    <name>DocumentFormats</name>
    <message>
        <source>MS Word is not installed, unable to load MS Word document.</source>
        <translation>MS Word no está instalado; no se puede cargar el documento de MS Word.</translation>
    </message>
    <message>
        <source>LibreOffice is not installed, unable to load Word documents.</source>
        <translation>LibreOffice no está instalado; no se pueden cargar documentos de Word.</translation>
    </message>
    <message>
        <source>a Word document</source>
        <translation>un documento de Word</translation>
    </message>
    <message>
        <source>LibreOffice is not installed, unable to load OpenDocument text.</source>
        <translation>LibreOffice no está instalado; no se puede cargar texto OpenDocument.</translation>
    </message>
    <message>
        <source>an OpenDocument text</source>
        <translation>un texto OpenDocument</translation>
    </message>
    <message>
        <source>HTML Document</source>
        <translation>Documento HTML</translation>
    </message>
    <message>
        <source>Rich Text Files</source>
        <translation>Archivos de texto enriquecido</translation>
    </message>
    <message>
        <source>Text Files</source>
        <translation>Archivos de texto</translation>
    </message>
    <message>
        <source>Microsoft Word Document</source>
        <translation>Documento de Microsoft Word</translation>
    </message>
    <message>
        <source>Word Document</source>
        <translation>Documento de Word</translation>
    </message>
    <message>
        <source>OpenDocument Text</source>
        <translation>Texto OpenDocument</translation>
    </message>
    <message>
        <source>PDF Document</source>
        <translation>Documento PDF</translation>
    </message>
    <message>
        <source>EPUB Book</source>
        <translation>Libro EPUB</translation>
    </message>
    <message>
        <source>Valid Documents (%1)|%1|</source>
        <translation>Documentos válidos (%1)|%1|</translation>
    </message>
    <message>
        <source>|All Files (*.*)|*.*</source>
        <translation>|Todos los archivos (*.*)|*.*</translation>
    </message>
    <message>
        <source>Pictures and Scans</source>
        <translation>Imágenes y escaneados</translation>
    </message>
</context>
<context>
    <name>DocumentLoader</name>
    <message>
        <source>Cannot open file &quot;%1&quot;. It is larger than %2 MB, more than the reading area can show; parlivo-cli reads it aloud or exports it.</source>
        <translation>No se puede abrir el archivo &quot;%1&quot;. Tiene más de %2 MB, más de lo que el área de lectura puede mostrar; parlivo-cli lo lee en voz alta o lo exporta.</translation>
    </message>
    <message>
        <source>Loading Document</source>
        <translation>Cargando documento</translation>
    </message>
    <message>
        <source>Document is loading, please wait ...</source>
        <translation>El documento se está cargando; espere, por favor...</translation>
    </message>
    <message>
        <source>Open Parlivo Document</source>
        <translation>Abrir documento de Parlivo</translation>
    </message>
    <message>
        <source>Reading the text in page %1 of %2 ...</source>
        <translation>Leyendo el texto de la página %1 de %2 ...</translation>
    </message>
</context>
<context>
    <name>DocumentLoading</name>
    <message>
        <source>Cannot open file &quot;%1&quot;. It is not a file.</source>
        <translation>No se puede abrir el archivo «%1». No es un archivo.</translation>
    </message>
    <message>
        <source>Cannot open file &quot;%1&quot;. %2</source>
        <translation>No se puede abrir el archivo «%1». %2</translation>
    </message>
    <message>
        <source>Cannot open file &quot;%1&quot;. It is larger than %2 MB.</source>
        <translation>No se puede abrir el archivo «%1». Ocupa más de %2 MB.</translation>
    </message>
    <message>
        <source>Cannot read file &quot;%1&quot;. %2</source>
        <translation>No se puede leer el archivo «%1». %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is damaged or is not %2, so it cannot be read.</source>
        <translation>«%1» está dañado o no es %2, así que no se puede leer.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is damaged or is not a document LibreOffice can open, so it cannot be read.</source>
        <translation>«%1» está dañado o no es un documento que LibreOffice pueda abrir, así que no se puede leer.</translation>
    </message>
</context>
<context>
    <name>DocumentSaver</name>
    <message>
        <source>Cannot create file &quot;%1&quot;. %2</source>
        <translation>No se puede crear el archivo «%1». %2</translation>
    </message>
    <message>
        <source>Save Text Document</source>
        <translation>Guardar documento de texto</translation>
    </message>
    <message>
        <source>Text File (*.txt)|*.txt|RichText File (*.rtf)|*.rtf</source>
        <translation>Archivo de texto (*.txt)|*.txt|Archivo de texto enriquecido (*.rtf)|*.rtf</translation>
    </message>
    <message>
        <source>There is nothing to save.</source>
        <translation>No hay nada que guardar.</translation>
    </message>
</context>
<context>
    <name>EpubReader</name>
    <message>
        <source>&quot;%1&quot; is damaged or is not an EPUB book, so it cannot be read.</source>
        <translation>«%1» está dañado o no es un libro EPUB, así que no se puede leer.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; unpacks to far more text than a book holds, so it cannot be read.</source>
        <translation>«%1» se descomprime en mucho más texto del que cabe en un libro, así que no se puede leer.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is protected against copying (DRM), so it cannot be read.</source>
        <translation>«%1» está protegido contra copia (DRM), así que no se puede leer.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; has no text to read.</source>
        <translation>«%1» no tiene texto que leer.</translation>
    </message>
</context>
<context>
    <name>EspeakLibrary</name>
    <message>
        <source>The espeak-ng speech engine could not start: its data is missing from %1.</source>
        <translation>El motor de voz espeak-ng no ha podido iniciarse: faltan sus datos en %1.</translation>
    </message>
    <message>
        <source>The espeak-ng speech engine could not start: its data is missing.</source>
        <translation>El motor de voz espeak-ng no ha podido iniciarse: faltan sus datos.</translation>
    </message>
    <message>
        <source>espeak-ng speaks at %1 Hz, not %2 Hz.</source>
        <translation>espeak-ng habla a %1 Hz, no a %2 Hz.</translation>
    </message>
    <message>
        <source>The espeak-ng speech engine has no English voice.</source>
        <translation>El motor de voz espeak-ng no tiene ninguna voz inglesa.</translation>
    </message>
    <message>
        <source>espeak-ng could not speak the text (error %1).</source>
        <translation>espeak-ng no ha podido decir el texto (error %1).</translation>
    </message>
</context>
<context>
    <name>FestivalEngine</name>
    <message>
        <source>Festival has no voice installed.</source>
        <translation>Festival no tiene ninguna voz instalada.</translation>
    </message>
    <message>
        <source>The Festival voice &quot;%1&quot; is not installed.</source>
        <translation>La voz de Festival «%1» no está instalada.</translation>
    </message>
    <message>
        <source>Festival could not speak the text.</source>
        <translation>Festival no ha podido decir el texto.</translation>
    </message>
</context>
<context>
    <name>FindDialog</name>
    <message>
        <source>Match &amp;whole word only</source>
        <translation>Coincidir sólo &amp;palabras completas</translation>
    </message>
    <message>
        <source>Match &amp;case</source>
        <translation>Coincidir &amp;mayúsculas y minúsculas</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>Ar&amp;riba</translation>
    </message>
    <message>
        <source>&amp;Down</source>
        <translation>&amp;Abajo</translation>
    </message>
    <message>
        <source>&amp;Find Next</source>
        <translation>Buscar &amp;siguiente</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Buscar</translation>
    </message>
    <message>
        <source>Fi&amp;nd what:</source>
        <translation>&amp;Buscar:</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Dirección</translation>
    </message>
    <message>
        <source>Could not find the text &quot;%1&quot;.</source>
        <translation>No se ha encontrado el texto «%1».</translation>
    </message>
</context>
<context>
    <name>FloatingReaderBar</name>
    <message>
        <source>Parlivo reader bar</source>
        <translation>Barra de lectura de Parlivo</translation>
    </message>
</context>
<context>
    <name>GivenText</name>
    <message>
        <source>The text is too long to read from here (more than %L1 characters). Save it and open it as a document instead.</source>
        <translation>El texto es demasiado largo para leerlo desde aquí (más de %L1 caracteres). Guárdelo y ábralo como documento.</translation>
    </message>
    <message>
        <source>The clipboard holds no readable text.</source>
        <translation>El portapapeles no contiene texto legible.</translation>
    </message>
    <message>
        <source>No text is selected or on the clipboard.</source>
        <translation>No hay texto seleccionado ni en el portapapeles.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>No sound device can be used, so nothing is heard.</source>
        <translation>No se puede usar ningún dispositivo de sonido, así que no se oye nada.</translation>
    </message>
    <message>
        <source>The sound device plays again.</source>
        <translation>El dispositivo de sonido vuelve a sonar.</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Borrar</translation>
    </message>
    <message>
        <source>Clear reading area</source>
        <translation>Borrar el área de lectura</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Deshacer</translation>
    </message>
    <message>
        <source>Undo the last change to the text</source>
        <translation>Deshacer el último cambio del texto</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Rehacer</translation>
    </message>
    <message>
        <source>Redo the change undone</source>
        <translation>Rehacer el cambio deshecho</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>Reemplazar</translation>
    </message>
    <message>
        <source>Add at the end</source>
        <translation>Añadir al final</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>The text that arrived:
“%1”</source>
        <translation>El texto que ha llegado:
“%1”</translation>
    </message>
    <message>
        <source>Some settings in Parlivo.ini could not be used and were put right: %1.</source>
        <translation>Algunos ajustes de Parlivo.ini no se podían usar y se han corregido: %1.</translation>
    </message>
    <message>
        <source>Your settings could not be saved. %1</source>
        <translation>No se han podido guardar los ajustes. %1</translation>
    </message>
    <message>
        <source>Your typed text could not be kept for the next start. %1</source>
        <translation>El texto escrito no se ha podido conservar para la próxima vez. %1</translation>
    </message>
    <message>
        <source>The text you typed last time was never saved, so it has been put back. Save it to keep it, or Clear it.</source>
        <translation>El texto que escribiste la última vez no se guardó, así que se ha recuperado. Guárdalo para conservarlo, o bórralo con Borrar.</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Buscar</translation>
    </message>
    <message>
        <source>Find text in reading area</source>
        <translation>Buscar texto en el área de lectura</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Abrir</translation>
    </message>
    <message>
        <source>Open a document for reading</source>
        <translation>Abrir un documento para leerlo</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Guardar</translation>
    </message>
    <message>
        <source>Spell</source>
        <translation>Deletrear</translation>
    </message>
    <message>
        <source>Start a spelling test</source>
        <translation>Empezar una prueba de ortografía</translation>
    </message>
    <message>
        <source>Hide</source>
        <translation>Ocultar</translation>
    </message>
    <message>
        <source>Hide/Minimise Parlivo</source>
        <translation>Ocultar/minimizar Parlivo</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>Exit Parlivo</source>
        <translation>Salir de Parlivo</translation>
    </message>
    <message>
        <source>Reading area</source>
        <translation>Área de lectura</translation>
    </message>
    <message>
        <source>Speech Engine not installed.</source>
        <translation>El motor de voz no está instalado.</translation>
    </message>
    <message>
        <source>The reader &quot;%1&quot; is no longer installed; the default voice reads instead.</source>
        <translation>El lector «%1» ya no está instalado; en su lugar lee la voz predeterminada.</translation>
    </message>
    <message>
        <source>Replace text in the reading area?</source>
        <translation>¿Sustituir el texto del área de lectura?</translation>
    </message>
    <message>
        <source>Loading Document</source>
        <translation>Cargando documento</translation>
    </message>
    <message>
        <source>Document is loading, please wait ...</source>
        <translation>El documento se está cargando; espere, por favor...</translation>
    </message>
    <message>
        <source>Document loaded: %1, where reading stopped last time</source>
        <translation>Documento cargado: %1, donde se dejó de leer la última vez</translation>
    </message>
    <message>
        <source>Document loaded: %1</source>
        <translation>Documento cargado: %1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no longer in %2, so it has been taken off the list of recent documents.</source>
        <translation>«%1» ya no está en %2, así que se ha quitado de la lista de documentos recientes.</translation>
    </message>
    <message>
        <source>No recent documents</source>
        <translation>No hay documentos recientes</translation>
    </message>
    <message>
        <source>Unable to convert text to MP3. Please check to ensure the file is not in use</source>
        <translation>No se ha podido convertir el texto a MP3. Compruebe que el archivo no está en uso</translation>
    </message>
    <message>
        <source>There is nothing to save.</source>
        <translation>No hay nada que guardar.</translation>
    </message>
    <message>
        <source>MP3 File (*.mp3)|*.mp3</source>
        <translation>Archivo MP3 (*.mp3)|*.mp3</translation>
    </message>
    <message>
        <source>Saving to MP3</source>
        <translation>Guardando en MP3</translation>
    </message>
    <message>
        <source>Saving document to MP3 format, please wait...</source>
        <translation>Guardando el documento en formato MP3; espere, por favor...</translation>
    </message>
    <message>
        <source>MP3 export cancelled</source>
        <translation>Exportación a MP3 cancelada</translation>
    </message>
    <message>
        <source>MP3 file saved: %1</source>
        <translation>Archivo MP3 guardado: %1</translation>
    </message>
    <message>
        <source>Text successfully converted to MP3.</source>
        <translation>El texto se ha convertido a MP3 correctamente.</translation>
    </message>
    <message>
        <source>MP3 export failed</source>
        <translation>La exportación a MP3 ha fallado</translation>
    </message>
    <message>
        <source>Reader menu</source>
        <translation>Menú del lector</translation>
    </message>
    <message>
        <source>Start, pause and stop reading; choose the reader, its speed and volume, and auto-read</source>
        <translation>Empezar, pausar y detener la lectura; elegir el lector, su velocidad y volumen, y la lectura automática</translation>
    </message>
    <message>
        <source>Start/Resume reading of document</source>
        <translation>Empezar/reanudar la lectura del documento</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>Leer</translation>
    </message>
    <message>
        <source>Pause reading of document</source>
        <translation>Pausar la lectura del documento</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pausa</translation>
    </message>
    <message>
        <source>Stop reading of document</source>
        <translation>Detener la lectura del documento</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Detener</translation>
    </message>
    <message>
        <source>Read from cursor position</source>
        <translation>Leer desde la posición del cursor</translation>
    </message>
    <message>
        <source>Read from cursor</source>
        <translation>Leer desde el cursor</translation>
    </message>
    <message>
        <source>Read web page</source>
        <translation>Leer la página web</translation>
    </message>
    <message>
        <source>Read the web page shown in the web panel</source>
        <translation>Leer la página web que muestra el panel web</translation>
    </message>
    <message>
        <source>Available document readers</source>
        <translation>Lectores de documentos disponibles</translation>
    </message>
    <message>
        <source>Reader</source>
        <translation>Lector</translation>
    </message>
    <message>
        <source>Pronunciations...</source>
        <translation>Pronunciaciones...</translation>
    </message>
    <message>
        <source>Choose how the reader says names and words</source>
        <translation>Elegir cómo dice el lector los nombres y las palabras</translation>
    </message>
    <message>
        <source>Auto Read</source>
        <translation>Lectura automática</translation>
    </message>
    <message>
        <source>Single Word</source>
        <translation>Una palabra</translation>
    </message>
    <message>
        <source>Set auto read to single word</source>
        <translation>Lectura automática de una sola palabra</translation>
    </message>
    <message>
        <source>Sentence</source>
        <translation>Frase</translation>
    </message>
    <message>
        <source>Set auto read to single sentence</source>
        <translation>Lectura automática de una sola frase</translation>
    </message>
    <message>
        <source>Auto Read Off</source>
        <translation>Lectura automática desactivada</translation>
    </message>
    <message>
        <source>Set auto read off</source>
        <translation>Desactivar la lectura automática</translation>
    </message>
    <message>
        <source>Reading Speed</source>
        <translation>Velocidad de lectura</translation>
    </message>
    <message>
        <source>Read speed</source>
        <translation>Velocidad de lectura</translation>
    </message>
    <message>
        <source>Reading Volume</source>
        <translation>Volumen de lectura</translation>
    </message>
    <message>
        <source>Read volume</source>
        <translation>Volumen de lectura</translation>
    </message>
    <message>
        <source>Reading area menu</source>
        <translation>Menú del área de lectura</translation>
    </message>
    <message>
        <source>Colour schemes, showing the reader, editing commands and customisation</source>
        <translation>Combinaciones de colores, mostrar el lector, órdenes de edición y personalización</translation>
    </message>
    <message>
        <source>Colour Schemes</source>
        <translation>Combinaciones de colores</translation>
    </message>
    <message>
        <source>Colour schemes</source>
        <translation>Combinaciones de colores</translation>
    </message>
    <message>
        <source>Show Reader</source>
        <translation>Mostrar lector</translation>
    </message>
    <message>
        <source>Show reader</source>
        <translation>Mostrar el lector</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Sí</translation>
    </message>
    <message>
        <source>Yes, show reader</source>
        <translation>Sí, mostrar el lector</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>No, don&apos;t show reader</source>
        <translation>No, no mostrar el lector</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Edición</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Cortar</translation>
    </message>
    <message>
        <source>Cut to clipboard</source>
        <translation>Cortar al portapapeles</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copiar</translation>
    </message>
    <message>
        <source>Copy to clipboard</source>
        <translation>Copiar al portapapeles</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Pegar</translation>
    </message>
    <message>
        <source>Paste from clipboard</source>
        <translation>Pegar del portapapeles</translation>
    </message>
    <message>
        <source>Find text in read area</source>
        <translation>Buscar texto en el área de lectura</translation>
    </message>
    <message>
        <source>Beginning</source>
        <translation>Inicio</translation>
    </message>
    <message>
        <source>Move to beginning of read area</source>
        <translation>Ir al inicio del área de lectura</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Seleccionar todo</translation>
    </message>
    <message>
        <source>Select all text</source>
        <translation>Seleccionar todo el texto</translation>
    </message>
    <message>
        <source>Customise</source>
        <translation>Personalizar</translation>
    </message>
    <message>
        <source>Open menu</source>
        <translation>Menú Abrir</translation>
    </message>
    <message>
        <source>Open a document, or one of the documents opened lately</source>
        <translation>Abrir un documento, o uno de los abiertos últimamente</translation>
    </message>
    <message>
        <source>Open...</source>
        <translation>Abrir...</translation>
    </message>
    <message>
        <source>Save menu</source>
        <translation>Menú Guardar</translation>
    </message>
    <message>
        <source>Save the text, save it under another name or as an MP3 file</source>
        <translation>Guardar el texto, guardarlo con otro nombre o como archivo MP3</translation>
    </message>
    <message>
        <source>Save text</source>
        <translation>Guardar el texto</translation>
    </message>
    <message>
        <source>Save As...</source>
        <translation>Guardar como...</translation>
    </message>
    <message>
        <source>Save text document with name given</source>
        <translation>Guardar el documento de texto con el nombre indicado</translation>
    </message>
    <message>
        <source>Save As MP3...</source>
        <translation>Guardar como MP3...</translation>
    </message>
    <message>
        <source>Save text document as MP3 file</source>
        <translation>Guardar el documento de texto como archivo MP3</translation>
    </message>
    <message>
        <source>Save to MP3 As...</source>
        <translation>Guardar en MP3 como...</translation>
    </message>
    <message>
        <source>Save text document as MP3 with name given</source>
        <translation>Guardar el documento de texto como MP3 con el nombre indicado</translation>
    </message>
    <message>
        <source>Write subtitles with MP3 export</source>
        <translation>Escribir subtítulos al exportar a MP3</translation>
    </message>
    <message>
        <source>Also write LRC and SRT subtitles, timed to the speech, beside each MP3 file</source>
        <translation>Escribir también subtítulos LRC y SRT, sincronizados con la voz, junto a cada archivo MP3</translation>
    </message>
    <message>
        <source>Spelling menu</source>
        <translation>Menú de ortografía</translation>
    </message>
    <message>
        <source>Spelling tests, the spelling file builder and the spelling assistant</source>
        <translation>Pruebas de ortografía, el creador de archivos de ortografía y el asistente de ortografía</translation>
    </message>
    <message>
        <source>Spelling Assistant ...</source>
        <translation>Asistente de ortografía ...</translation>
    </message>
    <message>
        <source>Show the spelling assistant screen</source>
        <translation>Mostrar la pantalla del asistente de ortografía</translation>
    </message>
    <message>
        <source>Spelling file Builder ...</source>
        <translation>Creador de archivos de ortografía ...</translation>
    </message>
    <message>
        <source>Build Spelling file</source>
        <translation>Crear archivo de ortografía</translation>
    </message>
    <message>
        <source>Spelling test ...</source>
        <translation>Prueba de ortografía ...</translation>
    </message>
    <message>
        <source>Start Spelling Test</source>
        <translation>Empezar la prueba de ortografía</translation>
    </message>
    <message>
        <source>Customise colours and font sizes</source>
        <translation>Personalizar los colores y los tamaños de letra</translation>
    </message>
    <message>
        <source>
... and %1 more lines.</source>
        <translation>
... y %1 líneas más.</translation>
    </message>
    <message>
        <source>These lines of the pronunciation list are not &quot;written=spoken&quot; and were left out:
%1</source>
        <translation>Estas líneas de la lista de pronunciaciones no tienen la forma «escrito=pronunciado» y se han omitido:
%1</translation>
    </message>
    <message>
        <source>Initialising reader</source>
        <translation>Iniciando el lector</translation>
    </message>
    <message>
        <source>Your text reader is loading, please wait... </source>
        <translation>Su lector de texto se está cargando; espere, por favor... </translation>
    </message>
    <message>
        <source>Reading resumed</source>
        <translation>Lectura reanudada</translation>
    </message>
    <message>
        <source>Reading started</source>
        <translation>Lectura iniciada</translation>
    </message>
    <message>
        <source>Reading started from the cursor</source>
        <translation>Lectura iniciada desde el cursor</translation>
    </message>
    <message>
        <source>Reading paused</source>
        <translation>Lectura en pausa</translation>
    </message>
    <message>
        <source>Reading stopped</source>
        <translation>Lectura detenida</translation>
    </message>
    <message>
        <source>Reading finished</source>
        <translation>Lectura terminada</translation>
    </message>
    <message>
        <source>My language</source>
        <translation>Mi idioma</translation>
    </message>
    <message>
        <source>The language Translate puts English into</source>
        <translation>El idioma al que Traducir pasa el inglés</translation>
    </message>
    <message>
        <source>Translate while reading</source>
        <translation>Traducir mientras se lee</translation>
    </message>
    <message>
        <source>Show each sentence in your language beside the text as it is read</source>
        <translation>Mostrar cada frase en su idioma junto al texto mientras se lee</translation>
    </message>
    <message>
        <source>Translate</source>
        <translation>Traducir</translation>
    </message>
    <message>
        <source>Translate the word, the selection or the sentence being read into your language</source>
        <translation>Traducir a su idioma la palabra, la selección o la frase que se está leyendo</translation>
    </message>
    <message>
        <source>Translate into %1</source>
        <translation>Traducir a %1</translation>
    </message>
    <message>
        <source>No translation installed</source>
        <translation>No hay ninguna traducción instalada</translation>
    </message>
    <message>
        <source>Install an Apertium pair from English, such as apertium-eng-spa</source>
        <translation>Instale un par de Apertium desde el inglés, como apertium-eng-spa</translation>
    </message>
    <message>
        <source>Choose your own language first: right-click the reader and pick it under &quot;My language&quot;.</source>
        <translation>Elija primero su idioma: haga clic derecho en el lector y elíjalo en «Mi idioma».</translation>
    </message>
    <message>
        <source>There is no word at the cursor to translate.</source>
        <translation>No hay ninguna palabra en el cursor que traducir.</translation>
    </message>
    <message>
        <source>Translated into %1</source>
        <translation>Traducido: %1</translation>
    </message>
    <message>
        <source>No installed voice speaks %1: the translation is shown, not said.</source>
        <translation>Ninguna voz instalada habla %1: la traducción se muestra, no se dice.</translation>
    </message>
    <message>
        <source>Still getting the text of the web page</source>
        <translation>Todavía se está obteniendo el texto de la página web</translation>
    </message>
    <message>
        <source>Nothing read from the web page</source>
        <translation>No se ha leído nada de la página web</translation>
    </message>
    <message>
        <source>The web page will be read once it has loaded</source>
        <translation>La página web se leerá cuando haya terminado de cargarse</translation>
    </message>
    <message>
        <source>Reading the selection of the web page</source>
        <translation>Leyendo la selección de la página web</translation>
    </message>
    <message>
        <source>Reading the web page</source>
        <translation>Leyendo la página web</translation>
    </message>
    <message>
        <source>Parlivo 
- right click for reader options
- left click to start or pause reading
- double click to stop reading
- keys: F5 read, F6 pause, F7 stop, Shift+F10 options
- Alt+Left/Right: previous/next sentence, Alt+Up/Down: paragraph, F9: say again</source>
        <translation>Parlivo 
- clic derecho para las opciones del lector
- clic izquierdo para empezar o pausar la lectura
- doble clic para detener la lectura
- teclas: F5 leer, F6 pausa, F7 detener, Mayús+F10 opciones
- Alt+Izquierda/Derecha: frase anterior/siguiente, Alt+Arriba/Abajo: párrafo, F9: repetir</translation>
    </message>
    <message>
        <source>Add the text at the end of the reading area instead?</source>
        <translation>¿Añadir el texto al final del área de lectura en su lugar?</translation>
    </message>
    <message>
        <source>Reading the text from another program</source>
        <translation>Leyendo el texto de otro programa</translation>
    </message>
    <message>
        <source>Previous sentence</source>
        <translation>Frase anterior</translation>
    </message>
    <message>
        <source>Read the sentence before</source>
        <translation>Leer la frase anterior</translation>
    </message>
    <message>
        <source>Next sentence</source>
        <translation>Frase siguiente</translation>
    </message>
    <message>
        <source>Read on from the next sentence</source>
        <translation>Seguir leyendo desde la frase siguiente</translation>
    </message>
    <message>
        <source>Say sentence again</source>
        <translation>Repetir la frase</translation>
    </message>
    <message>
        <source>Read the sentence again</source>
        <translation>Leer la frase otra vez</translation>
    </message>
    <message>
        <source>Previous paragraph</source>
        <translation>Párrafo anterior</translation>
    </message>
    <message>
        <source>Read the paragraph before</source>
        <translation>Leer el párrafo anterior</translation>
    </message>
    <message>
        <source>Next paragraph</source>
        <translation>Párrafo siguiente</translation>
    </message>
    <message>
        <source>Read on from the next paragraph</source>
        <translation>Seguir leyendo desde el párrafo siguiente</translation>
    </message>
    <message>
        <source>Read from here</source>
        <translation>Leer desde aquí</translation>
    </message>
    <message>
        <source>Read from the word at the cursor, or from the word clicked while paused</source>
        <translation>Leer desde la palabra del cursor, o desde la palabra pulsada durante la pausa</translation>
    </message>
    <message>
        <source>Floating reader bar</source>
        <translation>Barra de lectura flotante</translation>
    </message>
    <message>
        <source>A small reader bar that stays over other programs</source>
        <translation>Una pequeña barra de lectura que queda sobre los demás programas</translation>
    </message>
    <message>
        <source>Watch clipboard</source>
        <translation>Vigilar el portapapeles</translation>
    </message>
    <message>
        <source>Read text at once when it is copied in any program</source>
        <translation>Leer el texto en cuanto se copie en cualquier programa</translation>
    </message>
    <message>
        <source>Match the voice to the language</source>
        <translation>Ajustar la voz al idioma</translation>
    </message>
    <message>
        <source>Read each paragraph with an installed voice of its language</source>
        <translation>Leer cada párrafo con una voz instalada de su idioma</translation>
    </message>
    <message>
        <source>Read from screen</source>
        <translation>Leer de la pantalla</translation>
    </message>
    <message>
        <source>Read the text in a part of the screen: drag a rectangle over it</source>
        <translation>Leer el texto de una parte de la pantalla: arrastre un rectángulo sobre ella</translation>
    </message>
    <message>
        <source>Show reader bar</source>
        <translation>Mostrar la barra de lectura</translation>
    </message>
    <message>
        <source>Show the reading commands above the reading area</source>
        <translation>Mostrar las órdenes de lectura encima del área de lectura</translation>
    </message>
    <message>
        <source>Writing Help</source>
        <translation>Ayuda a la escritura</translation>
    </message>
    <message>
        <source>Spelling, confusable words and definitions</source>
        <translation>Ortografía, palabras que se confunden y definiciones</translation>
    </message>
    <message>
        <source>Check spelling as you type</source>
        <translation>Revisar la ortografía al escribir</translation>
    </message>
    <message>
        <source>Underline misspelt words in the reading area</source>
        <translation>Subrayar las palabras mal escritas en el área de lectura</translation>
    </message>
    <message>
        <source>Mark confusable words</source>
        <translation>Marcar las palabras que se confunden</translation>
    </message>
    <message>
        <source>Mark words that sound like others, such as their and there</source>
        <translation>Marcar las palabras que suenan como otras, como their y there</translation>
    </message>
    <message>
        <source>Check spelling</source>
        <translation>Revisar la ortografía</translation>
    </message>
    <message>
        <source>Go to the next misspelt word and say it with its suggestions</source>
        <translation>Ir a la siguiente palabra mal escrita y decirla con sus sugerencias</translation>
    </message>
    <message>
        <source>Define</source>
        <translation>Definir</translation>
    </message>
    <message>
        <source>Say what the word at the caret means</source>
        <translation>Decir qué significa la palabra del cursor</translation>
    </message>
    <message>
        <source>Word Prediction</source>
        <translation>Predicción de palabras</translation>
    </message>
    <message>
        <source>Offer the words you may be typing in a list by the caret</source>
        <translation>Ofrecer en una lista junto al cursor las palabras que puede estar escribiendo</translation>
    </message>
    <message>
        <source>There is no spelling dictionary for the language of %1.</source>
        <translation>No hay ningún diccionario ortográfico para el idioma de %1.</translation>
    </message>
    <message>
        <source>Put the caret on a word to define it.</source>
        <translation>Ponga el cursor en una palabra para definirla.</translation>
    </message>
    <message>
        <source>Reading the text from the screen</source>
        <translation>Leyendo el texto de la pantalla</translation>
    </message>
    <message>
        <source>There is nothing to read yet: type or paste some text, or open a document.</source>
        <translation>Todavía no hay nada que leer: escribe o pega un texto, o abre un documento.</translation>
    </message>
    <message>
        <source>Type or paste text here, or press Open. Then press Play to hear it read aloud.</source>
        <translation>Escribe o pega aquí un texto, o pulsa Abrir. Después pulsa Leer para oírlo en voz alta.</translation>
    </message>
</context>
<context>
    <name>Mp3Encoding</name>
    <message>
        <source>The MP3 encoder could not start.</source>
        <translation>El codificador de MP3 no ha podido iniciarse.</translation>
    </message>
    <message>
        <source>The MP3 encoder failed (error %1).</source>
        <translation>El codificador de MP3 ha fallado (error %1).</translation>
    </message>
    <message>
        <source>The MP3 encoding was cancelled.</source>
        <translation>La codificación a MP3 se ha cancelado.</translation>
    </message>
</context>
<context>
    <name>ParlivoApplication</name>
    <message>
        <source>An unexpected error occurred.</source>
        <translation>Se ha producido un error inesperado.</translation>
    </message>
</context>
<context>
    <name>PdfReader</name>
    <message>
        <source>&quot;%1&quot; is protected by a password, so it cannot be read.</source>
        <translation>«%1» está protegido con contraseña, así que no se puede leer.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is damaged or is not a PDF document, so it cannot be read.</source>
        <translation>«%1» está dañado o no es un documento PDF, así que no se puede leer.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is damaged (page %2 cannot be read), so it cannot be read.</source>
        <translation>«%1» está dañado (no se puede leer la página %2), así que no se puede leer.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; has no text to read, not even in the pictures of its pages.</source>
        <translation>«%1» no tiene texto que leer, ni siquiera en las imágenes de sus páginas.</translation>
    </message>
</context>
<context>
    <name>PredictionList</name>
    <message>
        <source>Word predictions</source>
        <translation>Predicciones de palabras</translation>
    </message>
    <message>
        <source>Up and Down choose a word and say it; Enter, Tab or its number inserts it; Escape hides</source>
        <translation>Arriba y Abajo eligen una palabra y la dicen; Intro, Tab o su número la insertan; Escape oculta la lista</translation>
    </message>
</context>
<context>
    <name>Program</name>
    <message>
        <source>A version of Parlivo is already running.</source>
        <translation>Ya se está ejecutando una versión de Parlivo.</translation>
    </message>
    <message>
        <source>Study Edition</source>
        <translation>Edición de estudio</translation>
    </message>
    <message>
        <source>Parlivo Study Edition</source>
        <translation>Parlivo Edición de estudio</translation>
    </message>
    <message>
        <source>Speech Engine not installed.</source>
        <translation>El motor de voz no está instalado.</translation>
    </message>
</context>
<context>
    <name>PronunciationList</name>
    <message>
        <source>there is no &quot;=&quot; between the word and how it is said</source>
        <translation>no hay ningún «=» entre la palabra y cómo se dice</translation>
    </message>
    <message>
        <source>line %1 (%2): %3</source>
        <translation>línea %1 (%2): %3</translation>
    </message>
    <message>
        <source>%1 lines could not be read; the first: %2</source>
        <translation>no se pudieron leer %1 líneas; las primeras: %2</translation>
    </message>
    <message>
        <source>the written word is missing</source>
        <translation>falta la palabra escrita</translation>
    </message>
    <message>
        <source>how it is said is missing</source>
        <translation>falta cómo se dice</translation>
    </message>
    <message>
        <source>it is longer than %1 letters</source>
        <translation>tiene más de %1 letras</translation>
    </message>
    <message>
        <source>the written side is not one word</source>
        <translation>la parte escrita no es una sola palabra</translation>
    </message>
    <message>
        <source>how it is said holds a &quot;&lt;&quot;</source>
        <translation>cómo se dice contiene un «&lt;»</translation>
    </message>
</context>
<context>
    <name>PronunciationsDialog</name>
    <message>
        <source>Pronunciations</source>
        <translation>Pronunciaciones</translation>
    </message>
    <message>
        <source>How the reader says names and words</source>
        <translation>Cómo dice el lector los nombres y las palabras</translation>
    </message>
    <message>
        <source>Written</source>
        <translation>Escrito</translation>
    </message>
    <message>
        <source>Spoken</source>
        <translation>Pronunciado</translation>
    </message>
    <message>
        <source>Words and how they are said</source>
        <translation>Palabras y cómo se dicen</translation>
    </message>
    <message>
        <source>Written word</source>
        <translation>Palabra escrita</translation>
    </message>
    <message>
        <source>Spoken as</source>
        <translation>Se pronuncia</translation>
    </message>
    <message>
        <source>for example: shiv awn</source>
        <translation>por ejemplo: shiv awn</translation>
    </message>
    <message>
        <source>&amp;Add or change</source>
        <translation>&amp;Añadir o cambiar</translation>
    </message>
    <message>
        <source>&amp;Remove</source>
        <translation>&amp;Quitar</translation>
    </message>
    <message>
        <source>Say &amp;it</source>
        <translation>&amp;Decirlo</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Guardar</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Cerrar</translation>
    </message>
    <message>
        <source>Problem</source>
        <translation>Problema</translation>
    </message>
    <message>
        <source>&amp;Written:</source>
        <translation>&amp;Escrito:</translation>
    </message>
    <message>
        <source>S&amp;poken as:</source>
        <translation>Se &amp;pronuncia:</translation>
    </message>
    <message>
        <source>Not added: %1.</source>
        <translation>No se añadió: %1.</translation>
    </message>
</context>
<context>
    <name>ReaderBar</name>
    <message>
        <source>Reader bar</source>
        <translation>Barra de lectura</translation>
    </message>
    <message>
        <source>Default voice</source>
        <translation>Voz predeterminada</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Leer</translation>
    </message>
    <message>
        <source>Start or resume reading</source>
        <translation>Empezar o reanudar la lectura</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Detener</translation>
    </message>
    <message>
        <source>Stop reading</source>
        <translation>Detener la lectura</translation>
    </message>
    <message>
        <source>Previous sentence</source>
        <translation>Frase anterior</translation>
    </message>
    <message>
        <source>Read the sentence before</source>
        <translation>Leer la frase anterior</translation>
    </message>
    <message>
        <source>Next sentence</source>
        <translation>Frase siguiente</translation>
    </message>
    <message>
        <source>Read on from the next sentence</source>
        <translation>Seguir leyendo desde la frase siguiente</translation>
    </message>
    <message>
        <source>Read selection</source>
        <translation>Leer la selección</translation>
    </message>
    <message>
        <source>Read the text selected in any program, else the clipboard</source>
        <translation>Leer el texto seleccionado en cualquier programa o, si no hay, el portapapeles</translation>
    </message>
    <message>
        <source>Voice</source>
        <translation>Voz</translation>
    </message>
    <message>
        <source>The voice that reads</source>
        <translation>La voz que lee</translation>
    </message>
    <message>
        <source>Reading speed</source>
        <translation>Velocidad de lectura</translation>
    </message>
    <message>
        <source>Reading speed, 1 to 10</source>
        <translation>Velocidad de lectura, de 1 a 10</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pausa</translation>
    </message>
</context>
<context>
    <name>ReaderFace</name>
    <message>
        <source>Reader</source>
        <translation>Lector</translation>
    </message>
</context>
<context>
    <name>ScreenAreaPicker</name>
    <message>
        <source>Read from screen</source>
        <translation>Leer de la pantalla</translation>
    </message>
    <message>
        <source>Drag over the text you want to hear. Press Escape to cancel.</source>
        <translation>Arrastra sobre el texto que quieres oír. Pulsa Escape para cancelar.</translation>
    </message>
</context>
<context>
    <name>ScreenReading</name>
    <message>
        <source>Parlivo cannot see the screen: this desktop does not let programs take a picture of it. Take a screenshot with the desktop&apos;s own tool and open it in Parlivo instead.</source>
        <translation>Parlivo no puede ver la pantalla: este escritorio no deja que los programas tomen una imagen de ella. Haga una captura de pantalla con la herramienta del propio escritorio y ábrala en Parlivo.</translation>
    </message>
    <message>
        <source>No text was found in the part of the screen chosen.</source>
        <translation>No se ha encontrado texto en la parte de la pantalla elegida.</translation>
    </message>
</context>
<context>
    <name>SpeechEngine</name>
    <message>
        <source>Cannot create the sound file &quot;%1&quot;: %2</source>
        <translation>No se puede crear el archivo de sonido «%1»: %2</translation>
    </message>
    <message>
        <source>The speech is too long for the sound file &quot;%1&quot;.</source>
        <translation>La voz es demasiado larga para el archivo de sonido «%1».</translation>
    </message>
    <message>
        <source>Cannot write the sound file &quot;%1&quot;: %2</source>
        <translation>No se puede escribir el archivo de sonido «%1»: %2</translation>
    </message>
</context>
<context>
    <name>SpeechExport</name>
    <message>
        <source>%1: cannot write: %2</source>
        <translation>%1: no se puede escribir: %2</translation>
    </message>
    <message>
        <source>the folder does not exist</source>
        <translation>la carpeta no existe</translation>
    </message>
    <message>
        <source>the file is read-only</source>
        <translation>el archivo es de solo lectura</translation>
    </message>
    <message>
        <source>the speech is too long for a WAV file</source>
        <translation>la voz es demasiado larga para un archivo WAV</translation>
    </message>
</context>
<context>
    <name>SpellingAidDialog</name>
    <message>
        <source>Spelling Assistant</source>
        <translation>Asistente de ortografía</translation>
    </message>
    <message>
        <source>Press the [Enter] key to listen to the selected word</source>
        <translation>Pulse la tecla [Intro] para oír la palabra seleccionada</translation>
    </message>
    <message>
        <source>Spelling words</source>
        <translation>Palabras de ortografía</translation>
    </message>
    <message>
        <source>Word</source>
        <translation>Palabra</translation>
    </message>
    <message>
        <source>Spelling</source>
        <translation>Ortografía</translation>
    </message>
    <message>
        <source>&amp;Load</source>
        <translation>&amp;Cargar</translation>
    </message>
    <message>
        <source>Load a Parlivo test file</source>
        <translation>Cargar un archivo de prueba de Parlivo</translation>
    </message>
    <message>
        <source>&amp;Read</source>
        <translation>&amp;Leer</translation>
    </message>
    <message>
        <source>Read the selected word</source>
        <translation>Leer la palabra seleccionada</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Cerrar</translation>
    </message>
    <message>
        <source>Close spelling assistant</source>
        <translation>Cerrar el asistente de ortografía</translation>
    </message>
    <message>
        <source>Load Spelling Document</source>
        <translation>Cargar documento de ortografía</translation>
    </message>
    <message>
        <source>Spelling Documents (pvt)|*.pvt</source>
        <translation>Documentos de ortografía (pvt)|*.pvt</translation>
    </message>
    <message>
        <source>Unable to load spelling document. The document appears to contain error(s).</source>
        <translation>No se pudo cargar el documento de ortografía. Parece que el documento contiene errores.</translation>
    </message>
    <message>
        <source>Spelling Assistant - %1</source>
        <translation>Asistente de ortografía - %1</translation>
    </message>
</context>
<context>
    <name>SpellingBuilderDialog</name>
    <message>
        <source>Spelling Test Builder</source>
        <translation>Creador de pruebas de ortografía</translation>
    </message>
    <message>
        <source>Spelling Documents (pvt)|*.pvt</source>
        <translation>Documentos de ortografía (pvt)|*.pvt</translation>
    </message>
    <message>
        <source>Introduction</source>
        <translation>Introducción</translation>
    </message>
    <message>
        <source>Introductory remarks to spelling test</source>
        <translation>Palabras de introducción a la prueba de ortografía</translation>
    </message>
    <message>
        <source>Closing</source>
        <translation>Cierre</translation>
    </message>
    <message>
        <source>Spelling test closing remarks</source>
        <translation>Palabras de cierre de la prueba de ortografía</translation>
    </message>
    <message>
        <source>Spellings</source>
        <translation>Palabras</translation>
    </message>
    <message>
        <source>Spelling test word list</source>
        <translation>Lista de palabras de la prueba de ortografía</translation>
    </message>
    <message>
        <source>Words</source>
        <translation>Palabras</translation>
    </message>
    <message>
        <source>Spelling Time (Secs)</source>
        <translation>Tiempo para escribir (s)</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Nuevo</translation>
    </message>
    <message>
        <source>Create new spelling screen</source>
        <translation>Crear una prueba de ortografía nueva</translation>
    </message>
    <message>
        <source>&amp;Load</source>
        <translation>&amp;Cargar</translation>
    </message>
    <message>
        <source>Load a spelling test file</source>
        <translation>Cargar un archivo de prueba de ortografía</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Guardar</translation>
    </message>
    <message>
        <source>Save spelling details to file</source>
        <translation>Guardar la prueba de ortografía en un archivo</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Cerrar</translation>
    </message>
    <message>
        <source>Close the spelling test screen</source>
        <translation>Cerrar la pantalla de la prueba de ortografía</translation>
    </message>
    <message>
        <source>Load Spelling Document</source>
        <translation>Cargar documento de ortografía</translation>
    </message>
    <message>
        <source>Save Spelling File</source>
        <translation>Guardar archivo de ortografía</translation>
    </message>
    <message>
        <source>Unable to load spelling document. The document appears to be corrupt</source>
        <translation>No se pudo cargar el documento de ortografía. Parece que el documento está dañado</translation>
    </message>
    <message>
        <source>Spelling document successfully save.</source>
        <translation>El documento de ortografía se guardó correctamente.</translation>
    </message>
    <message>
        <source>Please enter an introductory remark to the spelling test.</source>
        <translation>Escriba unas palabras de introducción a la prueba de ortografía.</translation>
    </message>
    <message>
        <source>Please enter a closing remark to the spelling test.</source>
        <translation>Escriba unas palabras de cierre para la prueba de ortografía.</translation>
    </message>
    <message>
        <source>Spelling Test Builder (%1)</source>
        <translation>Creador de pruebas de ortografía (%1)</translation>
    </message>
</context>
<context>
    <name>SpellingFile</name>
    <message>
        <source>Cannot open file</source>
        <translation>No se puede abrir el archivo</translation>
    </message>
    <message>
        <source>Cannot read file</source>
        <translation>No se puede leer el archivo</translation>
    </message>
    <message>
        <source>Cannot create file</source>
        <translation>No se puede crear el archivo</translation>
    </message>
    <message>
        <source>Cannot write file</source>
        <translation>No se puede escribir el archivo</translation>
    </message>
</context>
<context>
    <name>SpellingTestDialog</name>
    <message>
        <source>Spelling Test</source>
        <translation>Prueba de ortografía</translation>
    </message>
    <message>
        <source>Enter word spoken below:</source>
        <translation>Escriba abajo la palabra que oye:</translation>
    </message>
    <message>
        <source>Enter the word spoken here</source>
        <translation>Escriba aquí la palabra que oye</translation>
    </message>
    <message>
        <source>Answer</source>
        <translation>Respuesta</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Empezar</translation>
    </message>
    <message>
        <source>Click to start the test</source>
        <translation>Haga clic para empezar la prueba</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Click to cancel the spelling test</source>
        <translation>Haga clic para cancelar la prueba de ortografía</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Click to close this form</source>
        <translation>Haga clic para cerrar esta ventana</translation>
    </message>
    <message>
        <source>Spelling results</source>
        <translation>Resultados de ortografía</translation>
    </message>
    <message>
        <source>Correct Spelling</source>
        <translation>Escritura correcta</translation>
    </message>
    <message>
        <source>Student Spelling</source>
        <translation>Escritura del alumno</translation>
    </message>
    <message>
        <source>Score = </source>
        <translation>Puntuación = </translation>
    </message>
    <message>
        <source>The test score</source>
        <translation>La puntuación de la prueba</translation>
    </message>
    <message>
        <source>The spelling file holds no introduction and closing remark.</source>
        <translation>El archivo de ortografía no tiene palabras de introducción ni de cierre.</translation>
    </message>
    <message>
        <source>The spelling file loaded contains no words.</source>
        <translation>El archivo de ortografía cargado no contiene palabras.</translation>
    </message>
    <message>
        <source>Answer to word %1 of %2</source>
        <translation>Respuesta a la palabra %1 de %2</translation>
    </message>
    <message>
        <source>Open Parlivo Test File</source>
        <translation>Abrir archivo de prueba de Parlivo</translation>
    </message>
    <message>
        <source>Parlivo Test File (*.pvt)|*.pvt</source>
        <translation>Archivo de prueba de Parlivo (*.pvt)|*.pvt</translation>
    </message>
    <message>
        <source>There was a problem and the spelling file could not be loaded.</source>
        <translation>Hubo un problema y no se pudo cargar el archivo de ortografía.</translation>
    </message>
</context>
<context>
    <name>StatusDialog</name>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>SynthesisEngine</name>
    <message>
        <source>The voice &quot;%1&quot; is not installed.</source>
        <translation>La voz «%1» no está instalada.</translation>
    </message>
    <message>
        <source>The rendering of the speech was cancelled.</source>
        <translation>La generación de la voz se ha cancelado.</translation>
    </message>
</context>
<context>
    <name>TextLineDialog</name>
    <message>
        <source>Save</source>
        <translation>Guardar</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nombre</translation>
    </message>
    <message>
        <source>&amp;Ok</source>
        <translation>&amp;Aceptar</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancelar</translation>
    </message>
</context>
<context>
    <name>TextRecognition</name>
    <message>
        <source>Parlivo cannot read text in pictures: the recognition data for &quot;%1&quot; is not installed (Debian package tesseract-ocr-%1).</source>
        <translation>Parlivo no puede leer texto en imágenes: los datos de reconocimiento de «%1» no están instalados (paquete de Debian tesseract-ocr-%1).</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is damaged or is not a picture, so it cannot be read.</source>
        <translation>«%1» está dañado o no es una imagen, así que no se puede leer.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a picture of %2 x %3 pixels, too large to be read.</source>
        <translation>«%1» es una imagen de %2 x %3 píxeles, demasiado grande para leerla.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; has no text that Parlivo can recognise.</source>
        <translation>«%1» no tiene ningún texto que Parlivo pueda reconocer.</translation>
    </message>
    <message>
        <source>Page %1 may be misread</source>
        <translation>Puede que la página %1 se haya leído mal</translation>
    </message>
    <message>
        <source>Pages %1 and %2 may be misread</source>
        <translation>Puede que las páginas %1 y %2 se hayan leído mal</translation>
    </message>
</context>
<context>
    <name>Translation</name>
    <message>
        <source>Spanish</source>
        <translation>español</translation>
    </message>
    <message>
        <source>Catalan</source>
        <translation>catalán</translation>
    </message>
    <message>
        <source>Galician</source>
        <translation>gallego</translation>
    </message>
    <message>
        <source>Portuguese</source>
        <translation>portugués</translation>
    </message>
    <message>
        <source>Italian</source>
        <translation>italiano</translation>
    </message>
    <message>
        <source>French</source>
        <translation>francés</translation>
    </message>
    <message>
        <source>Esperanto</source>
        <translation>esperanto</translation>
    </message>
    <message>
        <source>Basque</source>
        <translation>euskera</translation>
    </message>
    <message>
        <source>Occitan</source>
        <translation>occitano</translation>
    </message>
    <message>
        <source>Aragonese</source>
        <translation>aragonés</translation>
    </message>
    <message>
        <source>Asturian</source>
        <translation>asturiano</translation>
    </message>
    <message>
        <source>Welsh</source>
        <translation>galés</translation>
    </message>
    <message>
        <source>Irish</source>
        <translation>irlandés</translation>
    </message>
    <message>
        <source>German</source>
        <translation>alemán</translation>
    </message>
    <message>
        <source>Dutch</source>
        <translation>neerlandés</translation>
    </message>
    <message>
        <source>Swedish</source>
        <translation>sueco</translation>
    </message>
    <message>
        <source>Danish</source>
        <translation>danés</translation>
    </message>
    <message>
        <source>Icelandic</source>
        <translation>islandés</translation>
    </message>
    <message>
        <source>Norwegian Bokmal</source>
        <translation>noruego bokmål</translation>
    </message>
    <message>
        <source>Norwegian Nynorsk</source>
        <translation>noruego nynorsk</translation>
    </message>
    <message>
        <source>Kazakh</source>
        <translation>kazajo</translation>
    </message>
    <message>
        <source>Tatar</source>
        <translation>tártaro</translation>
    </message>
    <message>
        <source>Breton</source>
        <translation>bretón</translation>
    </message>
    <message>
        <source>Romanian</source>
        <translation>rumano</translation>
    </message>
    <message>
        <source>Polish</source>
        <translation>polaco</translation>
    </message>
    <message>
        <source>Russian</source>
        <translation>ruso</translation>
    </message>
    <message>
        <source>Parlivo cannot translate into this language: the Apertium pair &quot;%1&quot; is not installed.</source>
        <translation>Parlivo no puede traducir a este idioma: el par de Apertium «%1» no está instalado.</translation>
    </message>
    <message>
        <source>The text is too long to translate at once (more than 100,000 characters). Choose a shorter passage.</source>
        <translation>El texto es demasiado largo para traducirlo de una vez (más de 100.000 caracteres). Elija un fragmento más corto.</translation>
    </message>
    <message>
        <source>The Apertium pair &quot;%1&quot; cannot be read: %2</source>
        <translation>No se puede leer el par de Apertium «%1»: %2</translation>
    </message>
    <message>
        <source>The Apertium pair &quot;%1&quot; asks for a command Parlivo does not run.</source>
        <translation>El par de Apertium «%1» pide una orden que Parlivo no ejecuta.</translation>
    </message>
    <message>
        <source>The translator cannot start: its program %1 is not installed.</source>
        <translation>El traductor no puede iniciarse: su programa %1 no está instalado.</translation>
    </message>
    <message>
        <source>The translator could not start %1: %2</source>
        <translation>El traductor no ha podido iniciar %1: %2</translation>
    </message>
    <message>
        <source>The translator did not finish within %1 seconds (%2 did not answer) and was stopped.</source>
        <translation>El traductor no terminó en %1 segundos (%2 no respondió) y se ha detenido.</translation>
    </message>
    <message>
        <source>The translator wrote more than %1 MB of text and was stopped.</source>
        <translation>El traductor escribió más de %1 MB de texto y se ha detenido.</translation>
    </message>
    <message>
        <source>The translator stopped unexpectedly (%1 crashed).</source>
        <translation>El traductor se ha detenido de forma inesperada (%1 ha fallado).</translation>
    </message>
    <message>
        <source>The translator failed (%1 exited with code %2): %3</source>
        <translation>El traductor ha fallado (%1 terminó con el código %2): %3</translation>
    </message>
    <message>
        <source>This text does not look like English, so it was not translated into %1.</source>
        <translation>Este texto no parece inglés, así que no se ha traducido a %1.</translation>
    </message>
</context>
<context>
    <name>TranslationPanel</name>
    <message>
        <source>Translation</source>
        <translation>Traducción</translation>
    </message>
    <message>
        <source>Close translation</source>
        <translation>Cerrar traducción</translation>
    </message>
    <message>
        <source>&lt;p&gt;&lt;small&gt;Not translated: %1&lt;/small&gt;&lt;/p&gt;</source>
        <translation>&lt;p&gt;&lt;small&gt;Sin traducir: %1&lt;/small&gt;&lt;/p&gt;</translation>
    </message>
    <message>
        <source>%1 translation</source>
        <translation>Traducción: %1</translation>
    </message>
    <message>
        <source> Not translated: %1</source>
        <translation> Sin traducir: %1</translation>
    </message>
</context>
<context>
    <name>VoiceChoices</name>
    <message>
        <source>%1 (%2 of %3)</source>
        <translation>%1 (%2 de %3)</translation>
    </message>
</context>
<context>
    <name>VoiceMenu</name>
    <message>
        <source>The reader now: %1</source>
        <translation>El lector ahora: %1</translation>
    </message>
</context>
<context>
    <name>WebPanel</name>
    <message>
        <source>Web content browser</source>
        <translation>Navegador de contenido web</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Atrás</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Actualizar</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Adelante</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Detener</translation>
    </message>
    <message>
        <source>Address:</source>
        <translation>Dirección:</translation>
    </message>
    <message>
        <source>Enter web address (URL) to which you wish to navigate.</source>
        <translation>Escriba la dirección web (URL) a la que desea ir.</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Dirección</translation>
    </message>
    <message>
        <source>Go!</source>
        <translation>¡Ir!</translation>
    </message>
    <message>
        <source>Go to address (website)</source>
        <translation>Ir a la dirección (sitio web)</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a web address the browser can go to.</source>
        <translation>«%1» no es una dirección web a la que pueda ir el navegador.</translation>
    </message>
    <message>
        <source>No mail program could be started for &apos;%1&apos;.</source>
        <translation>No se ha podido iniciar ningún programa de correo para «%1».</translation>
    </message>
    <message>
        <source>Cannot go back: the browser has no earlier page.</source>
        <translation>No se puede ir atrás: el navegador no tiene ninguna página anterior.</translation>
    </message>
    <message>
        <source>Cannot go forward: the browser has no later page.</source>
        <translation>No se puede ir adelante: el navegador no tiene ninguna página posterior.</translation>
    </message>
</context>
<context>
    <name>WindowAppearance</name>
    <message>
        <source>Cannot open file %1</source>
        <translation>No se puede abrir el archivo %1</translation>
    </message>
</context>
<context>
    <name>WritingAids</name>
    <message>
        <source>Replace &quot;%1&quot; with &quot;%2&quot;</source>
        <translation>Sustituir «%1» por «%2»</translation>
    </message>
    <message>
        <source>(no suggestions)</source>
        <translation>(no hay sugerencias)</translation>
    </message>
    <message>
        <source>The dictionary has no word like &quot;%1&quot;</source>
        <translation>El diccionario no tiene ninguna palabra parecida a «%1»</translation>
    </message>
    <message>
        <source>Add to dictionary</source>
        <translation>Añadir al diccionario</translation>
    </message>
    <message>
        <source>Add &quot;%1&quot; to your own word list</source>
        <translation>Añadir «%1» a su propia lista de palabras</translation>
    </message>
    <message>
        <source>&quot;%1&quot; added to the dictionary</source>
        <translation>«%1» añadida al diccionario</translation>
    </message>
    <message>
        <source>Ignore</source>
        <translation>Ignorar</translation>
    </message>
    <message>
        <source>Accept &quot;%1&quot; until Parlivo closes</source>
        <translation>Aceptar «%1» hasta que se cierre Parlivo</translation>
    </message>
    <message>
        <source>Sounds like: %1</source>
        <translation>Suena como: %1</translation>
    </message>
    <message>
        <source>Use &quot;%1&quot;</source>
        <translation>Usar «%1»</translation>
    </message>
    <message>
        <source>Define &quot;%1&quot;	%2</source>
        <translation>Definir «%1»	%2</translation>
    </message>
    <message>
        <source>Say what &quot;%1&quot; means</source>
        <translation>Decir qué significa «%1»</translation>
    </message>
    <message>
        <source>No spelling dictionary is installed for the reader&apos;s language.</source>
        <translation>No hay ningún diccionario ortográfico instalado para el idioma del lector.</translation>
    </message>
    <message>
        <source>No suggestions.</source>
        <translation>No hay sugerencias.</translation>
    </message>
    <message>
        <source>Suggestions: %1.</source>
        <translation>Sugerencias: %1.</translation>
    </message>
    <message>
        <source>Misspelt: %1. %2 The menu key offers the fixes.</source>
        <translation>Mal escrita: %1. %2 La tecla de menú ofrece las correcciones.</translation>
    </message>
    <message>
        <source>No spelling mistakes found.</source>
        <translation>No se han encontrado faltas de ortografía.</translation>
    </message>
    <message>
        <source>%1 of %2: %3</source>
        <translation>%1 de %2: %3</translation>
    </message>
</context>
</TS>
