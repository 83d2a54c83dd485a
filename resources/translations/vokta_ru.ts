<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU" sourcelanguage="en_US">
<context>
    <name>Menu</name>
    <message><source>&amp;Task</source><translation>&amp;Задача</translation></message>
    <message><source>New</source><translation>Новая</translation></message>
    <message><source>Retry</source><translation>Разломать</translation></message>
    <message><source>Load...</source><translation>Загрузить...</translation></message>
    <message><source>Save...</source><translation>Сохранить...</translation></message>
    <message><source>Library...</source><translation>Библиотека...</translation></message>
    <message><source>Today's task</source><translation>Задача дня</translation></message>
    <message><source>Random task...</source><translation>Случайная задача...</translation></message>
    <message><source>Share task...</source><translation>Поделиться задачей...</translation></message>
    <message><source>Open task code...</source><translation>Открыть код задачи...</translation></message>
    <message><source>Solid</source><translation>Сплошной вид</translation></message>
    <message><source>Hint	H</source><translation>Подсказка	H</translation></message>
    <message><source>Undo	Ctrl+Z</source><translation>Отменить	Ctrl+Z</translation></message>
    <message><source>Redo	Ctrl+Y</source><translation>Повторить	Ctrl+Y</translation></message>
    <message><source>Reset view	Home</source><translation>Исходный вид	Home</translation></message>
    <message><source>Distinct colours</source><translation>Различимые цвета</translation></message>
    <message><source>Piece numbers</source><translation>Номера фигур</translation></message>
    <message><source>&amp;Vokta</source><translation>&amp;Вокта</translation></message>
    <message><source>Move Left	Left</source><translation>Сдвинуть влево	Left</translation></message>
    <message><source>Move Right	Right</source><translation>Сдвинуть вправо	Right</translation></message>
    <message><source>Move Up	PageUp</source><translation>Сдвинуть вверх	PageUp</translation></message>
    <message><source>Move Down	PageDown</source><translation>Сдвинуть вниз	PageDown</translation></message>
    <message><source>Move forward	Up</source><translation>Сдвинуть вперед	Up</translation></message>
    <message><source>Move Backward	Down</source><translation>Сдвинуть назад	Down</translation></message>
    <message><source>Turn Left	Shift+Left</source><translation>Поворот влево	Shift+Left</translation></message>
    <message><source>Turn Right	Shift+Right</source><translation>Поворот вправо	Shift+Right</translation></message>
    <message><source>Turn Counterclockwise	Shift+PageUp</source><translation>Поворот против часовой	Shift+PageUp</translation></message>
    <message><source>Turn Clockwise	Shift+PageDown</source><translation>Поворот по часовой	Shift+PageDown</translation></message>
    <message><source>Turn Forward	Shift+Up</source><translation>Поворот вперед	Shift+Up</translation></message>
    <message><source>Turn Backward	Shift+Down</source><translation>Поворот назад	Shift+Down</translation></message>
    <message><source>&amp;Help</source><translation>&amp;Помощь</translation></message>
    <message><source>About</source><translation>О программе</translation></message>
    <message><source>Index</source><translation>Индекс</translation></message>
    <message><source>Keyboard controls</source><translation>Управление клавиатурой</translation></message>
    <message><source>Mouse controls</source><translation>Управление мышью</translation></message>
    <message><source>Describe	D</source><translation>Описать	D</translation></message>
</context>
<context>
    <name>vokta::MainWindow</name>
    <message><source>Success</source><translation>Успех</translation></message>
    <message><source>Task completed.
Congratulations!</source><translation>Задача решена.
Поздравляю!</translation></message>
    <message><source>Task files</source><translation>Файлы фигур Вокта</translation></message>
    <message><source>All Files</source><translation>Все файлы</translation></message>
    <message><source>Load</source><translation>Загрузка</translation></message>
    <message><source>Save</source><translation>Сохранение</translation></message>
    <message><source>The task file %1 cannot be read: %2.</source><translation>Файл задачи %1 не читается: %2.</translation></message>
    <message><source>The task file %1 is damaged: %2.</source><translation>Файл задачи %1 повреждён: %2.</translation></message>
    <message><source>The task could not be saved as %1: %2.</source><translation>Задачу не удалось сохранить в %1: %2.</translation></message>
    <message><source>version %1</source><translation>версия %1</translation></message>
    <message><source>it is a folder, not a file</source><translation>это папка, а не файл</translation></message>
    <message><source>it is empty</source><translation>он пуст</translation></message>
    <message><source>it ends within its header</source><translation>он обрывается в заголовке</translation></message>
    <message><source>it holds %1 of the %2 bytes its %3 cells need</source><translation>в нём %1 из %2 байт, нужных для его клеток (%3)</translation></message>
    <message><source>it asks for %1 pieces, and the game has %2</source><translation>ему нужно фигур: %1, а в игре их %2</translation></message>
    <message><source>it has %1 cells, and a task has at most %2</source><translation>в нём клеток: %1, а в задаче их не больше %2</translation></message>
    <message><source>cell %1 has a coordinate that is no number</source><translation>у клетки %1 координата — не число</translation></message>
    <message><source>cell %1 lies too far away, beyond %2 on an axis</source><translation>клетка %1 лежит слишком далеко, дальше %2 по одной из осей</translation></message>
    <message><source>magenta</source><translation>пурпурную</translation></message>
    <message><source>cyan</source><translation>голубую</translation></message>
    <message><source>red</source><translation>красную</translation></message>
    <message><source>yellow</source><translation>жёлтую</translation></message>
    <message><source>green</source><translation>зелёную</translation></message>
    <message><source>pink</source><translation>розовую</translation></message>
    <message><source>blue</source><translation>синюю</translation></message>
    <message><source>plum</source><translation>сливовую</translation></message>
    <message><source>orange</source><translation>оранжевую</translation></message>
    <message><source>pale green</source><translation>бледно-зелёную</translation></message>
    <message><source>No solution keeps every piece where it is. Take out the %1 piece, which is selected now.</source><translation>Ни одно решение не оставляет все фигуры на своих местах. Уберите %1 фигуру — она сейчас выделена.</translation></message>
    <message><source>No solution keeps the pieces where they are: take some of them out.</source><translation>Ни одно решение не оставляет фигуры на своих местах: уберите некоторые из них.</translation></message>
    <message><source>This task has no solution.</source><translation>У этой задачи нет решения.</translation></message>
    <message><source>Every piece is in its place.</source><translation>Все фигуры уже на своих местах.</translation></message>
    <message><source>There is no task to give a hint for: build freely, or load a task.</source><translation>Подсказывать не к чему: стройте свободно или загрузите задачу.</translation></message>
    <message><source>Hint</source><translation>Подсказка</translation></message>
    <message><source>the file is read-only</source><translation>файл только для чтения</translation></message>
    <message><source>a folder of that name is in the way</source><translation>на этом месте папка с тем же именем</translation></message>
    <message><source>Task library</source><translation>Библиотека задач</translation></message>
    <message><source>The task library %1 is missing or empty.</source><translation>Библиотеки задач %1 нет, или она пуста.</translation></message>
    <message><source>No task could be made for %1.</source><translation>Не удалось составить задачу %1.</translation></message>
    <message><source>No way to fill the figure you built can be put down piece by piece: it cannot be built.</source><translation>Построенную вами фигуру нельзя собрать, ставя детали по одной: такую задачу не построить.</translation></message>
    <message><source>Ways to fill the figure you built: %1. None of them can be put down piece by piece: it cannot be built.</source><translation>Способов заполнить построенную вами фигуру: %1. Ни один из них не собрать, ставя детали по одной: такую задачу не построить.</translation></message>
    <message><source>Ways to fill the figure you built: %1 or more. None of them can be put down piece by piece: it cannot be built.</source><translation>Способов заполнить построенную вами фигуру: %1 и больше. Ни один из них не собрать, ставя детали по одной: такую задачу не построить.</translation></message>
    <message><source>The figure you built can be filled in %1 or more ways: an easy task.</source><translation>Способов заполнить построенную вами фигуру: %1 и больше — лёгкая задача.</translation></message>
    <message><source>The figure you built can be filled in %1 ways: a medium task.</source><translation>Способов заполнить построенную вами фигуру: %1 — задача средней сложности.</translation></message>
    <message><source>The figure you built can be filled in %1 ways: a hard task.</source><translation>Способов заполнить построенную вами фигуру: %1 — трудная задача.</translation></message>
    <message><source>The figure you built can be filled in exactly one way: a unique task.</source><translation>Построенную вами фигуру можно заполнить ровно одним способом — уникальная задача.</translation></message>
    <message><source>Kept game</source><translation>Сохранённая игра</translation></message>
    <message><source>it is damaged</source><translation>она повреждена</translation></message>
    <message><source>it was kept by a newer version of the game</source><translation>её сохранила более новая версия игры</translation></message>
    <message><source>it is for pieces this game does not have</source><translation>в ней фигуры, которых в этой игре нет</translation></message>
    <message><source>The game kept in %1 cannot be continued: %2 (%3). A new game starts.</source><translation>Игру, сохранённую в %1, нельзя продолжить: %2 (%3). Начинается новая игра.</translation></message>
    <message><source>The game kept in %1 cannot be continued: %2 (%3). It is set aside as %4, and a new game starts.</source><translation>Игру, сохранённую в %1, нельзя продолжить: %2 (%3). Она отложена как %4, начинается новая игра.</translation></message>
    <message><source>Vokta has been updated.</source><translation>Вокта обновлена.</translation></message>
    <message><source>its character %1, "%2", is none of the letters, digits, - and _ a code is made of</source><translation>его знак %1, «%2», — не буква, не цифра, не - и не _, из которых состоит код</translation></message>
    <message><source>it has %1 characters, and no task code has more than %2</source><translation>в нём знаков: %1, а в коде задачи их не больше %2</translation></message>
    <message><source>it has %1 characters, and its task ends after %2</source><translation>в нём знаков: %1, а его задача кончается на %2-м</translation></message>
    <message><source>it does not begin with a version</source><translation>он не начинается с номера версии</translation></message>
    <message><source>it is of version %1, made by a later game; this game reads codes up to version %2</source><translation>это код версии %1 из более новой игры; эта игра читает коды до версии %2</translation></message>
    <message><source>it ends before its task does: part of it is missing</source><translation>он обрывается раньше своей задачи: части кода не хватает</translation></message>
    <message><source>it is for %1 pieces, and a task takes 1 to 7</source><translation>число фигур — %1, а в задаче их бывает от 1 до 7</translation></message>
    <message><source>its figure has no cells</source><translation>в фигуре нет ни одной клетки</translation></message>
    <message><source>it has %1 cells, and the pieces it is for (%2) fill at most %3</source><translation>клеток: %1, а фигуры (их %2) заполняют не больше %3</translation></message>
    <message><source>a cell lies too far away, beyond %1 on an axis</source><translation>одна из клеток лежит слишком далеко, дальше %1 по одной из осей</translation></message>
    <message><source>its list of cells is damaged</source><translation>список его клеток повреждён</translation></message>
    <message><source>cell %1 lies between the places of the grid</source><translation>клетка %1 лежит между узлами сетки</translation></message>
    <message><source>cell %1 repeats an earlier one</source><translation>клетка %1 повторяет одну из предыдущих</translation></message>
    <message><source>Open task code</source><translation>Открыть код задачи</translation></message>
    <message><source>The task code %1 cannot be opened: %2.</source><translation>Код задачи %1 не открывается: %2.</translation></message>
    <message><source>No task code was given: paste a code or a task's link.</source><translation>Код задачи не введён: вставьте код или ссылку на задачу.</translation></message>
    <message><source>This task has no code: %1.</source><translation>У этой задачи нет кода: %1.</translation></message>
    <message><source>There is no task to share: build freely, or load a task.</source><translation>Делиться нечем: вы строите свободно — загрузите задачу.</translation></message>
    <message><source>Share task</source><translation>Поделиться задачей</translation></message>
    <message><source>The code of this task:</source><translation>Код этой задачи:</translation></message>
    <message><source>Its link:</source><translation>Ссылка на неё:</translation></message>
    <message><source>Copy</source><translation>Копировать</translation></message>
    <message><source>Copied</source><translation>Скопировано</translation></message>
    <message><source>A task's code or its link:</source><translation>Код задачи или ссылка на неё:</translation></message>
</context>
<context>
    <name>vokta::LibraryDialog</name>
    <message><source>Task library</source><translation>Библиотека задач</translation></message>
    <message><source>easy</source><translation>лёгкая</translation></message>
    <message><source>medium</source><translation>средняя</translation></message>
    <message><source>moves: %1, time: %2</source><translation>ходов: %1, время: %2</translation></message>
    <message><source>hard</source><translation>трудная</translation></message>
    <message><source>%1 ways to solve it</source><translation>Решений: %1</translation></message>
    <message><source>unique</source><translation>уникальная</translation></message>
    <message><source>Today's task, %1</source><translation>Задача дня, %1</translation></message>
    <message><source>one way to solve it</source><translation>Решение одно</translation></message>
    <message><source>days in a row: %1</source><translation>дней подряд: %1</translation></message>
</context>
<context>
    <name>vokta::RandomTaskDialog</name>
    <message><source>Random task</source><translation>Случайная задача</translation></message>
    <message><source>How hard a task shall be made?</source><translation>Насколько трудную задачу составить?</translation></message>
    <message><source>Easy</source><translation>Лёгкую</translation></message>
    <message><source>Medium</source><translation>Среднюю</translation></message>
    <message><source>Hard</source><translation>Трудную</translation></message>
    <message><source>Unique</source><translation>Уникальную</translation></message>
</context>
<context>
    <name>vokta::StartDialog</name>
    <message><source>START</source><translation>СТАРТ</translation></message>
    <message><source>HELP</source><translation>ПОМОЩЬ</translation></message>
    <message><source>QUIT</source><translation>ВЫХОД</translation></message>
</context>
<context>
    <name>Help</name>
    <message><source>Vokta Help</source><translation>Справка Вокты</translation></message>
    <message><source>Contents</source><translation>Содержание</translation></message>
    <message><source>Back</source><translation>Назад</translation></message>
</context>
<context>
    <name>Help popup</name>
    <message><source>&lt;p&gt;&lt;b&gt;New&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Makes the figure disappear and scatters the pieces again. Nothing is tested for completion, so you can build any shape you like and save it as a new task.&lt;/p&gt;</source><translation>&lt;p&gt;&lt;b&gt;Новая&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Фигура исчезает, а детали снова разбрасываются. Решение не проверяется: стройте любую фигуру и сохраните ее как новую задачу.&lt;/p&gt;</translation></message>
    <message><source>&lt;p&gt;&lt;b&gt;Load...&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Opens a task file (&lt;tt&gt;.tsk&lt;/tt&gt;). The pieces are scattered and the figure from the file becomes the task to solve.&lt;/p&gt;</source><translation>&lt;p&gt;&lt;b&gt;Загрузить...&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Открывает файл задачи (&lt;tt&gt;.tsk&lt;/tt&gt;). Детали разбрасываются, а фигура из файла становится новой задачей.&lt;/p&gt;</translation></message>
    <message><source>&lt;p&gt;&lt;b&gt;Save...&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Saves the current arrangement of the pieces as a task file. When it is loaded later, the shape becomes the figure to fill. After New it first says how many ways there are to fill the figure built and how hard a task that makes. Today's task and a random task are saved as themselves.&lt;/p&gt;</source><translation>&lt;p&gt;&lt;b&gt;Сохранить...&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Сохраняет текущее расположение деталей как файл задачи. Когда его загрузят, построенная фигура станет той, которую нужно заполнить. После команды «Новая» сначала сообщает, сколькими способами можно заполнить построенную фигуру и насколько трудной получится задача. Задача дня и случайная задача сохраняются сами.&lt;/p&gt;</translation></message>
    <message><source>&lt;p&gt;&lt;b&gt;Solid&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Shows the figure as solid shaded cubes instead of a white wire frame; choose it again to go back. The choice stays when another task is loaded.&lt;/p&gt;</source><translation>&lt;p&gt;&lt;b&gt;Сплошной вид&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Показывает фигуру сплошными объемными кубиками вместо белого проволочного каркаса; повторный выбор возвращает каркас. Выбор сохраняется и при загрузке другой задачи.&lt;/p&gt;</translation></message>
    <message><source>&lt;p&gt;&lt;b&gt;Russian / English&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Switches the whole interface (menus, dialogs, messages and help) to the other language at once. The choice is remembered at the next start.&lt;/p&gt;</source><translation>&lt;p&gt;&lt;b&gt;English / Russian&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Сразу переключает весь интерфейс — меню, окна, сообщения и справку — на другой язык. Выбор запоминается и при следующем запуске.&lt;/p&gt;</translation></message>
    <message><source>&lt;p&gt;&lt;b&gt;Retry&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Scatters the pieces again for another try at the same task. A task already reported complete is not reported again.&lt;/p&gt;</source><translation>&lt;p&gt;&lt;b&gt;Разломать&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Снова разбрасывает детали, чтобы попробовать решить ту же задачу еще раз. Если о решении задачи уже было сообщено, повторно оно не засчитывается.&lt;/p&gt;</translation></message>
    <message><source>&lt;p&gt;&lt;b&gt;Hint&lt;/b&gt; (key H): shows one piece that is not yet in its place as a see-through ghost in its own colour, at its place in a solution that keeps every piece already inside the figure where it is. The ghost goes at your next action. If no solution keeps those pieces, the piece to take out is selected; if the task has no solution at all, Hint says so.&lt;/p&gt;</source><translation>&lt;p&gt;&lt;b&gt;Подсказка&lt;/b&gt; (клавиша H): показывает одну ещё не поставленную фигуру полупрозрачным «призраком» её цвета на её месте в решении, которое оставляет все уже стоящие внутри фигуры детали там, где они есть. Призрак исчезает при следующем вашем действии. Если такого решения нет, выделяется фигура, которую нужно убрать; если у задачи нет решения вовсе, подсказка так и скажет.&lt;/p&gt;</translation></message>
    <message><source>&lt;p&gt;&lt;b&gt;Library...&lt;/b&gt;: shows the tasks that come with the game, each with a picture of its figure, its name and how hard it is (easy, medium or hard, by how many ways it can be solved). Open one, or double-click it, to make it the task.&lt;/p&gt;</source><translation>&lt;p&gt;&lt;b&gt;Библиотека...&lt;/b&gt;: показывает задачи, которые поставляются с игрой, — у каждой рисунок фигуры, название и сложность (лёгкая, средняя или трудная — по тому, сколькими способами её можно решить). Откройте задачу или щёлкните по ней дважды, чтобы она стала текущей.&lt;/p&gt;</translation></message>
    <message><source>&lt;p&gt;&lt;b&gt;Undo&lt;/b&gt; (Ctrl+Z): takes back your last step, a move, a turn, a whole drag, letting a piece go, New, Retry or Load, and puts the pieces, the selection and the task exactly as they were before it. Selecting a piece is no step; the view stays as it is. Grey when there is nothing to undo.&lt;/p&gt;</source><translation>&lt;p&gt;&lt;b&gt;Отменить&lt;/b&gt; (Ctrl+Z): отменяет ваш последний шаг — сдвиг, поворот, целое перетаскивание, отпускание детали, «Новая», «Разломать» или «Загрузить» — и возвращает детали, выбор и задачу точно такими, какими они были до него. Выбор детали шагом не считается; вид не меняется. Команда серая, когда отменять нечего.&lt;/p&gt;</translation></message>
    <message><source>&lt;p&gt;&lt;b&gt;Redo&lt;/b&gt; (Ctrl+Y or Ctrl+Shift+Z): takes the step you undid again. A new step after an undo drops what could have been redone. Grey when there is nothing to redo.&lt;/p&gt;</source><translation>&lt;p&gt;&lt;b&gt;Повторить&lt;/b&gt; (Ctrl+Y или Ctrl+Shift+Z): снова делает отменённый шаг. Новый шаг после отмены убирает то, что можно было повторить. Команда серая, когда повторять нечего.&lt;/p&gt;</translation></message>
    <message><source>&lt;p&gt;&lt;b&gt;Reset view&lt;/b&gt; (Home): brings the camera back to the view the game starts with and stops it.&lt;/p&gt;</source><translation>&lt;p&gt;&lt;b&gt;Исходный вид&lt;/b&gt; (Home): возвращает камеру к виду, с которого начинается игра, и останавливает её.&lt;/p&gt;</translation></message>
    <message><source>&lt;p&gt;&lt;b&gt;Distinct colours&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Shows the pieces, the selected piece, the floor and the background in colours chosen to stay apart for normal vision and for red-blind, green-blind and blue-blind eyes alike; the floor no longer has the colour of a piece. Choose it again for the game's own colours. The choice is kept for the next start.&lt;/p&gt;</source><translation>&lt;p&gt;&lt;b&gt;Различимые цвета&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Показывает детали, выбранную деталь, пол и фон в цветах, которые не сливаются ни при обычном зрении, ни при нечувствительности к красному, зеленому или синему цвету; пол больше не совпадает по цвету ни с одной деталью. Повторный выбор возвращает прежние цвета игры. Выбор запоминается до следующего запуска.&lt;/p&gt;</translation></message>
    <message><source>&lt;p&gt;&lt;b&gt;Piece numbers&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Shows on every side of each piece the digit whose key selects it, 1 to 7; the number turns with the piece. Choose it again to hide the numbers. The choice is kept for the next start.&lt;/p&gt;</source><translation>&lt;p&gt;&lt;b&gt;Номера фигур&lt;/b&gt;&lt;/p&gt;&lt;p&gt;Показывает на каждой стороне каждой детали цифру, клавиша которой ее выбирает, от 1 до 7; номер поворачивается вместе с деталью. Повторный выбор убирает номера. Выбор запоминается до следующего запуска.&lt;/p&gt;</translation></message>
    <message><source>&lt;p&gt;&lt;b&gt;Describe&lt;/b&gt; (key D): says the scene in words, for a screen reader: the figure layer by layer from the floor up, each row's cells with the piece that fills each or empty, then every piece not in the figure and where it is. Columns count from the left, rows from the back, as you look. After every key the game says what changed.&lt;/p&gt;</source><translation>&lt;p&gt;&lt;b&gt;Описать&lt;/b&gt; (клавиша D): описывает сцену словами для программы экранного доступа: фигуру слой за слоем снизу вверх, клетки каждого ряда с деталью, которая её заполняет, или «пусто», затем каждую деталь вне фигуры и где она. Столбцы считаются слева, ряды — от дальнего края, как вы смотрите. После каждой клавиши игра говорит, что изменилось.&lt;/p&gt;</translation></message>
    <message><source>&lt;p&gt;&lt;b&gt;Today's task&lt;/b&gt;: a new task every day, the same for every player on that day (the day in UTC), with exactly one way to solve it. The library shows it first, with how many days in a row you have solved the day's task. Save... writes it as a task file to share.&lt;/p&gt;</source><translation>&lt;p&gt;&lt;b&gt;Задача дня&lt;/b&gt;: каждый день новая задача, одна и та же для всех игроков в этот день (день по UTC), с единственным решением. Библиотека показывает её первой вместе с тем, сколько дней подряд вы решали задачу дня. «Сохранить...» записывает её в файл задачи, чтобы поделиться.&lt;/p&gt;</translation></message>
    <message><source>&lt;p&gt;&lt;b&gt;Random task...&lt;/b&gt;: makes a new task as hard as you choose: easy (300 or more ways to solve it), medium (20 to 299), hard (2 to 19) or unique (exactly one). None is a task of the library, and each can be built by putting the pieces down one by one. Save... writes it as a task file to share.&lt;/p&gt;</source><translation>&lt;p&gt;&lt;b&gt;Случайная задача...&lt;/b&gt;: составляет новую задачу той сложности, которую вы выберете: лёгкую (300 решений и больше), среднюю (от 20 до 299), трудную (от 2 до 19) или уникальную (ровно одно решение). Ни одна не совпадает с задачами библиотеки, и каждую можно собрать, ставя детали по одной. «Сохранить...» записывает её в файл задачи, чтобы поделиться.&lt;/p&gt;</translation></message>
    <message><source>&lt;p&gt;&lt;b&gt;Share task...&lt;/b&gt;: shows the code of the current task, a short text of letters and digits that stands for its figure and its pieces, to send to a friend: Open task code... in their game opens the very same task. In the browser it also shows the task's link, with a button that copies it.&lt;/p&gt;</source><translation>&lt;p&gt;&lt;b&gt;Поделиться задачей...&lt;/b&gt;: показывает код текущей задачи — короткий текст из букв и цифр, в котором записаны её фигура и детали. Отправьте его другу: «Открыть код задачи...» в его игре откроет ту же самую задачу. В браузере показывается и ссылка на задачу с кнопкой, которая её копирует.&lt;/p&gt;</translation></message>
    <message><source>&lt;p&gt;&lt;b&gt;Open task code...&lt;/b&gt;: opens the task of a code or a link that Share task... gave. The pieces are scattered and the code's figure becomes the task; Undo takes it back. A damaged code is refused with a message that says what is wrong, and nothing changes.&lt;/p&gt;</source><translation>&lt;p&gt;&lt;b&gt;Открыть код задачи...&lt;/b&gt;: открывает задачу по коду или ссылке, которые дала команда «Поделиться задачей...». Детали разбрасываются, а фигура из кода становится задачей; «Отменить» возвращает прежнюю. Повреждённый код не принимается: сообщение объясняет, что с ним не так, и ничего не меняется.&lt;/p&gt;</translation></message>
</context>
<context>
    <name>Spoken</name>
    <message><source>%1 %2, falling: %3.</source><translation>%1 %2, падает: %3.</translation></message>
    <message><source>%1 %2, selected: %3.</source><translation>%1 %2, выбрана: %3.</translation></message>
    <message><source>%1 %2: %3.</source><translation>%1 %2: %3.</translation></message>
    <message><source>%1 and %2</source><translation>%1 и %2</translation></message>
    <message><source>%1 to %2</source><translation>с %1 по %2</translation></message>
    <message><source>%1 cell left of %2</source><translation>левее %2 на %1</translation></message>
    <message><source>%1 cells left of %2</source><translation>левее %2 на %1</translation></message>
    <message><source>%1 left</source><translation>левее на %1</translation></message>
    <message><source>%1 cell right of %2</source><translation>правее %2 на %1</translation></message>
    <message><source>%1 cells right of %2</source><translation>правее %2 на %1</translation></message>
    <message><source>%1 right</source><translation>правее на %1</translation></message>
    <message><source>%1 cell behind %2</source><translation>дальше %2 на %1</translation></message>
    <message><source>%1 cells behind %2</source><translation>дальше %2 на %1</translation></message>
    <message><source>%1 behind</source><translation>дальше на %1</translation></message>
    <message><source>%1 cell in front of %2</source><translation>ближе %2 на %1</translation></message>
    <message><source>%1 cells in front of %2</source><translation>ближе %2 на %1</translation></message>
    <message><source>%1 in front</source><translation>ближе на %1</translation></message>
    <message><source>column %1</source><translation>столбец %1</translation></message>
    <message><source>columns %1</source><translation>столбцы %1</translation></message>
    <message><source>row %1</source><translation>ряд %1</translation></message>
    <message><source>rows %1</source><translation>ряды %1</translation></message>
    <message><source>the figure</source><translation>фигуры</translation></message>
    <message><source>the centre</source><translation>центра</translation></message>
    <message><source>on the floor</source><translation>на полу</translation></message>
    <message><source>%1 cell up</source><translation>на высоте %1</translation></message>
    <message><source>%1 cells up</source><translation>на высоте %1</translation></message>
    <message><source>layer %1, %2</source><translation>слой %1, %2</translation></message>
    <message><source>magenta</source><translation>пурпурная</translation></message>
    <message><source>cyan</source><translation>голубая</translation></message>
    <message><source>red</source><translation>красная</translation></message>
    <message><source>yellow</source><translation>жёлтая</translation></message>
    <message><source>green</source><translation>зелёная</translation></message>
    <message><source>pink</source><translation>розовая</translation></message>
    <message><source>blue</source><translation>синяя</translation></message>
    <message><source>plum</source><translation>сливовая</translation></message>
    <message><source>orange</source><translation>оранжевая</translation></message>
    <message><source>pale green</source><translation>бледно-зелёная</translation></message>
    <message><source>The game's view. D says what it shows.</source><translation>Поле игры. D описывает, что на нём.</translation></message>
    <message><source>Selected %1 piece %2: %3.</source><translation>Выбрана %1 деталь %2: %3.</translation></message>
    <message><source>Let go: %1 piece %2.</source><translation>Отпущена %1 деталь %2.</translation></message>
    <message><source>Turned: %1.</source><translation>Повёрнута: %1.</translation></message>
    <message><source>%1 piece %2 came to rest on the floor.</source><translation>%1 деталь %2 встала на пол.</translation></message>
    <message><source>%1 piece %2 came to rest on %3.</source><translation>%1 деталь %2 встала на %3.</translation></message>
    <message><source>%1 piece %2 stopped in the air.</source><translation>%1 деталь %2 остановилась в воздухе.</translation></message>
    <message><source>the %1 piece</source><translation>%1 деталь</translation></message>
    <message><source>the %1 pieces</source><translation>%1 детали</translation></message>
    <message><source>Blocked by the %1 piece.</source><translation>Мешает %1 деталь.</translation></message>
    <message><source>The floor is in the way.</source><translation>Мешает пол.</translation></message>
    <message><source>This view gives that no direction on the grid: turn the view a little.</source><translation>С этого вида у этого хода нет направления по сетке: немного поверните вид.</translation></message>
    <message><source>Undone.</source><translation>Отменено.</translation></message>
    <message><source>Redone.</source><translation>Повторено.</translation></message>
    <message><source>New: no figure, build freely. The pieces are scattered.</source><translation>Новая: фигуры нет, стройте свободно. Детали разбросаны.</translation></message>
    <message><source>The pieces are scattered again.</source><translation>Детали снова разбросаны.</translation></message>
    <message><source>New task: %1. The pieces are scattered.</source><translation>Новая задача: %1. Детали разбросаны.</translation></message>
    <message><source>Task completed.</source><translation>Задача решена.</translation></message>
    <message><source>Hint: %1 piece %2 goes to %3.</source><translation>Подсказка: %1 деталь %2 встаёт на %3.</translation></message>
    <message><source>View from the %1, %2 degrees down, %3 cells away; moves go straight.</source><translation>Вид с %1, наклон %2 градусов, расстояние в клетках: %3; ходы идут прямо.</translation></message>
    <message><source>View from the %1, %2 degrees down, %3 cells away; moves go diagonally.</source><translation>Вид с %1, наклон %2 градусов, расстояние в клетках: %3; ходы идут по диагонали.</translation></message>
    <message><source>east</source><translation>востока</translation></message>
    <message><source>north-east</source><translation>северо-востока</translation></message>
    <message><source>north</source><translation>севера</translation></message>
    <message><source>north-west</source><translation>северо-запада</translation></message>
    <message><source>west</source><translation>запада</translation></message>
    <message><source>south-west</source><translation>юго-запада</translation></message>
    <message><source>south</source><translation>юга</translation></message>
    <message><source>south-east</source><translation>юго-востока</translation></message>
    <message><source>%1 wide, %2 deep, %3 high, %4 cells</source><translation>ширина %1, глубина %2, высота %3, клеток: %4</translation></message>
    <message><source>Figure: %1, %2 filled.</source><translation>Фигура: %1, заполнено: %2.</translation></message>
    <message><source>No figure: you build freely.</source><translation>Фигуры нет: вы строите свободно.</translation></message>
    <message><source>Layer %1: %2.</source><translation>Слой %1: %2.</translation></message>
    <message><source>Layer %1 empty.</source><translation>Слой %1 пуст.</translation></message>
    <message><source>row %1: %2</source><translation>ряд %1: %2</translation></message>
    <message><source>row %1 empty</source><translation>ряд %1 пуст</translation></message>
    <message><source>empty</source><translation>пусто</translation></message>
    <message><source>%1 empty</source><translation>%1 пустых</translation></message>
    <message><source>gap</source><translation>пропуск</translation></message>
    <message><source>rows %1: %2</source><translation>ряды %1: %2</translation></message>
    <message><source>row %1 from %2: %3</source><translation>ряд %1 со столбца %2: %3</translation></message>
    <message><source>rows %1 from %2: %3</source><translation>ряды %1 со столбца %2: %3</translation></message>
    <message><source>rows %1 empty</source><translation>ряды %1 пусты</translation></message>
    <message><source>Away from the figure, in cells:</source><translation>Вне фигуры, в клетках:</translation></message>
    <message><source>In cells from the centre:</source><translation>В клетках от центра:</translation></message>
    <message><source>Every piece is in the figure.</source><translation>Все детали в фигуре.</translation></message>
    <message><source>%1 up</source><translation>на высоте %1</translation></message>
    <message><source>%1 piece %2: %3.</source><translation>%1 деталь %2: %3.</translation></message>
</context>
</TS>
