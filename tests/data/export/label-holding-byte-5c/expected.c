
const unsigned short  マップ 表 a-b [] = {

1,
};
