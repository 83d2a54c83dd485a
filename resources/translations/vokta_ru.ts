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
</context>
<context>
    <name>vokta::LibraryDialog</name>
    <message><source>Task library</source><translation>Библиотека задач</translation></message>
    <message><source>easy</source><translation>лёгкая</translation></message>
    <message><source>medium</source><translation>средняя</translation></message>
    <message><source>moves: %1, time: %2</source><translation>ходов: %1, время: %2</translation></message>
    <message><source>hard</source><translation>трудная</translation></message>
    <message><source>%1 ways to solve it</source><translation>Решений: %1</translation></message>
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
</TS>
