#include "html_layout.h"

namespace lumadex::site {
namespace {

// Class names here stay generic on purpose: clients find their way through album pages
// by a few exact class names, and those must appear only where the content is.
constexpr std::string_view kStyle = R"(<style type="text/css">
body{margin:0;font:12px/1.6 Tahoma,"宋体",sans-serif;color:#333;background:#f7f7f7}
a{color:#3b5888;text-decoration:none}a:hover{text-decoration:underline}
#topbar{background:#3b5998;height:40px;padding:0 20px}
#topbar .logo{float:left;color:#fff;font-size:20px;font-weight:bold;line-height:40px}
#nav{float:right;margin:0;padding:0;list-style:none}
#nav li{float:left;margin-left:16px;line-height:40px}#nav a{color:#fff}
#content{width:760px;margin:16px auto;background:#fff;border:1px solid #ddd;padding:16px}
#footer{width:760px;margin:0 auto 24px;color:#999;text-align:center}
ul.thumbs{list-style:none;margin:12px 0;padding:0;overflow:hidden}
ul.thumbs li{float:left;width:130px;height:150px;margin:0 10px 10px 0;text-align:center}
ul.thumbs img{border:1px solid #ccc;padding:2px;width:120px;height:90px}
div[class^=pager]{margin:8px 0;color:#666}div[class^=pager] a{margin:0 3px}
.notice{padding:10px;background:#fff9d7;border:1px solid #e2c822;margin-bottom:12px}
.login-box input{width:200px}
</style>)";

constexpr std::string_view kScript = R"(<script type="text/javascript">
var XN = XN || {};
XN.env = {domain: "xiaonei.com", staticRoot: "/static/"};
function toggleMenu(id) { var e = document.getElementById(id); if (e) e.style.display = e.style.display == "none" ? "" : "none"; }
</script>)";

}  // namespace

std::string html_escape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '&': out += "&amp;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string page_frame(const PageContext& ctx, std::string_view title, std::string_view body_attrs,
                       std::string_view content) {
  std::string page;
  page.reserve(content.size() + 4096);
  const std::string& base = ctx.base;
  append_all(page,
             "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
             "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">\n"
             "<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"zh-CN\">\n<head>\n"
             "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />\n<title>",
             title, " - 校内网</title>\n", kStyle, "\n", kScript, "\n</head>\n<body ", body_attrs,
             ">\n<div id=\"topbar\"><a class=\"logo\" href=\"", base, "/\">校内网</a>\n<ul id=\"nav\">\n");
  if (ctx.signed_in) {
    append_all(page, "<li><a href=\"", base, "/\">首页</a></li>\n<li><a href=\"", base,
               "/getuser.do\">个人主页</a></li>\n<li><a href=\"", base, "/friends.do\">好友</a></li>\n<li><a href=\"", base,
               "/inbox.do\">站内信</a></li>\n<li><a href=\"", base, "/Logout.do\">退出</a></li>\n");
  } else {
    append_all(page, "<li><a href=\"", base, "/Login.do\">登录</a></li>\n<li><a href=\"", base,
               "/register.do\">注册</a></li>\n");
  }
  append_all(page, "</ul></div>\n<div id=\"content\">\n", content,
             "\n</div>\n<div id=\"footer\">校内网 &copy;2008 &middot; <a href=\"", base,
             "/about.do\">关于我们</a> &middot; <a href=\"", base, "/help.do\">帮助</a> &middot; <a href=\"", base,
             "/privacy.do\">隐私声明</a></div>\n</body>\n</html>\n");
  return page;
}

}  // namespace lumadex::site
